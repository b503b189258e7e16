# The Windows converters under Wine: the end-to-end tests of irgen and irexpo
# (the Linux test programs) run a second time, against build-windows/bin/*.exe
# started through Wine. Registered when Wine and MinGW-w64 are installed; the
# CTest label is "wine" (ctest -L wine runs only them, ctest -LE wine skips
# them).
#
# Fixtures: windows_build configures and builds the Windows converters (what
# `make windows` does), wine_prefix prepares a Wine prefix in the build folder
# once per run and keeps its server running until wine_stop ends it, so that
# each start of an .exe costs a few tens of milliseconds.
find_program(WINE_PROGRAM NAMES wine wine64 PATHS /usr/lib/wine)
find_program(WINESERVER_PROGRAM NAMES wineserver PATHS /usr/lib/wine)
find_program(WINEBOOT_PROGRAM NAMES wineboot PATHS /usr/lib/wine)
find_program(MINGW_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)
option(TEST_WINDOWS_UNDER_WINE "Run the converters' end-to-end tests against the .exe files under Wine" ON)
set(WINDOWS_BUILD_DIR ${PROJECT_SOURCE_DIR}/build-windows CACHE PATH
    "Build folder of the Windows converters (make windows)")

if(NOT TEST_WINDOWS_UNDER_WINE OR NOT WINE_PROGRAM OR NOT WINESERVER_PROGRAM
   OR NOT WINEBOOT_PROGRAM OR NOT MINGW_CXX OR CMAKE_CROSSCOMPILING)
  message(STATUS "Wine tests of the Windows converters: off (needs wine and g++-mingw-w64-x86-64)")
  function(add_wine_end_to_end_tests target filter)
  endfunction()
  return()
endif()
message(STATUS "Wine tests of the Windows converters: on (${WINE_PROGRAM}, ${WINDOWS_BUILD_DIR})")

set(WINE_PREFIX_DIR ${CMAKE_BINARY_DIR}/wine-prefix)
set(WINE_ENVIRONMENT WINEPREFIX=${WINE_PREFIX_DIR} WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d DISPLAY=)

add_test(NAME windows_build
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DBINARY_DIR=${WINDOWS_BUILD_DIR}
          -DGENERATOR=${CMAKE_GENERATOR} -P ${PROJECT_SOURCE_DIR}/cmake/build_windows.cmake)
set_tests_properties(windows_build PROPERTIES
  FIXTURES_SETUP windows_exe LABELS wine TIMEOUT 900)

# The server is started first and kept for 5 minutes after its last client
# (a server still running from an earlier run is kept instead). wineboot
# reports an error for the 32-bit half that Debian's wine64 lacks; the prefix
# is usable when its system folder is there. Neither keeps the test's output open:
# the services that wineboot starts live as long as the server.
add_test(NAME wine_prefix
  COMMAND sh -c "mkdir -p \"$WINEPREFIX\" && { \"$1\" -p300 </dev/null >/dev/null 2>&1; \"$0\" -i </dev/null >\"$WINEPREFIX/wineboot.log\" 2>&1; test -f \"$WINEPREFIX/drive_c/windows/system32/kernel32.dll\"; }"
          ${WINEBOOT_PROGRAM} ${WINESERVER_PROGRAM})
add_test(NAME wine_stop COMMAND ${WINESERVER_PROGRAM} -k)
set_tests_properties(wine_prefix PROPERTIES
  FIXTURES_SETUP wine LABELS wine TIMEOUT 300 ENVIRONMENT "${WINE_ENVIRONMENT}")
set_tests_properties(wine_stop PROPERTIES
  FIXTURES_CLEANUP wine LABELS wine TIMEOUT 60 ENVIRONMENT "${WINE_ENVIRONMENT}")

set(WINE_TEST_ENVIRONMENT ${WINE_ENVIRONMENT}
    CONVERTER_LAUNCHER=${WINE_PROGRAM}
    IRGEN_UNDER_TEST=${WINDOWS_BUILD_DIR}/bin/irgen.exe
    IREXPO_UNDER_TEST=${WINDOWS_BUILD_DIR}/bin/irexpo.exe)

# Registers the tests of `target` that match `filter` once more, as
# "wine:<name>", against the .exe files. Called beside the target's own
# gtest_discover_tests (it must be the same directory). The environment and
# the fixtures are lists, which gtest_discover_tests' PROPERTIES cannot carry:
# a script that CTest reads after the discovered tests sets them.
function(add_wine_end_to_end_tests target filter)
  gtest_discover_tests(${target}
    TEST_PREFIX "wine:"
    TEST_FILTER "${filter}"
    TEST_LIST ${target}_wine_tests
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS wine TIMEOUT 600)
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${target}_wine_properties.cmake")
  file(WRITE "${script}" "
foreach(test IN LISTS ${target}_wine_tests)
  set_tests_properties(\"\${test}\" PROPERTIES
    FIXTURES_REQUIRED \"windows_exe;wine\"
    ENVIRONMENT \"${WINE_TEST_ENVIRONMENT}\")
endforeach()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()
