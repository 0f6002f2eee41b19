# quvex_add_test(NAME SOURCES file... LIBS target...)
# One Qt Test executable registered with CTest; GUI tests run on the offscreen platform.
function(quvex_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE quvex_options Qt6::Test ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUVEX_SIM=$<TARGET_FILE:quvex-sim>"
    TIMEOUT 300)
endfunction()
