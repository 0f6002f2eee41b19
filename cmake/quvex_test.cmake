# quvex_add_test(NAME LABEL unit|gui|e2e SOURCES file... LIBS target...)
# One Qt Test executable registered with CTest. GUI tests run on the offscreen platform; the
# label sets the time-out: unit tests run on virtual time, end-to-end tests wait for real.
set(QUVEX_TEST_TIMEOUT_unit 60)
set(QUVEX_TEST_TIMEOUT_gui 120)
set(QUVEX_TEST_TIMEOUT_e2e 300)

function(quvex_add_test name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT DEFINED QUVEX_TEST_TIMEOUT_${ARG_LABEL})
    message(FATAL_ERROR "quvex_add_test(${name}): LABEL must be unit, gui or e2e")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE quvex_options Qt6::Test ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set(environment "QT_QPA_PLATFORM=offscreen")
  if(TARGET quvex-sim)
    list(APPEND environment "QUVEX_SIM=$<TARGET_FILE:quvex-sim>")
    add_dependencies(${name} quvex-sim)
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${environment}"
    LABELS ${ARG_LABEL}
    TIMEOUT ${QUVEX_TEST_TIMEOUT_${ARG_LABEL}})
endfunction()
