# The Debian package: `cpack -G DEB` in a build folder writes quvex-panel_<version>_<arch>.deb.
# It holds what install() names and nothing else; the tests, the benchmark and the fuzzers
# have no install rule, so they can never land in it. The simulator goes with the panel as
# the demonstration unit. The programs link only system libraries, so they get no run path.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quvex-panel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "QUVEX")
set(CPACK_PACKAGE_CONTACT "QUVEX panel developers <panel@quvex.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control panel for QUVEX video scan-converter units")
set(CPACK_PACKAGE_DESCRIPTION
    "Adjusts a QUVEX scan-converter or genlock unit over an RS-232 line: reads
every setting of the unit into a list, sends each change at once and reads it
back, stores and resets the unit, and saves all of its values to a settings
file or loads them into a unit. A simulated unit on a pseudo-terminal,
quvex-sim, comes with it for trying the panel without hardware.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME quvex-panel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the programs actually link, never from a list kept by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Help opens readme.txt with xdg-open; without it the panel still works and says so.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
