# The main window of sonabrix, its desktop edge, the conversion launch and
# start-up, the program itself, its manual, and their tests.
include(GNUInstallDirs)

add_library(frontend_window STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/close_request.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/enter_repeats.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/launch.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/main_window.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/qt_desktop.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/select_on_focus.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/startup.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/startup_probe.cpp
  # Listed so that AUTOMOC finds the window's Q_OBJECT.
  ${CMAKE_CURRENT_SOURCE_DIR}/main_window.h
)
target_link_libraries(frontend_window PUBLIC frontend_rules Qt6::Widgets)
# The window manager's close requests (close_request.h) are X11 events.
find_library(XCB_LIBRARY xcb)
if(XCB_LIBRARY)
  target_link_libraries(frontend_window PRIVATE ${XCB_LIBRARY})
  target_compile_definitions(frontend_window PRIVATE FRONTEND_HAVE_XCB)
endif()

add_executable(sonabrix ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(sonabrix PRIVATE frontend_window)

# Help opens Manual/MSonabrix.mht under WorkDir, the folder of the program
# file, so the manual travels beside the program in the build and in an
# install.
set(SONABRIX_MANUAL ${PROJECT_SOURCE_DIR}/Manual/MSonabrix.mht)
set(SONABRIX_BUILT_MANUAL ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Manual/MSonabrix.mht)
add_custom_command(
  OUTPUT ${SONABRIX_BUILT_MANUAL}
  COMMAND ${CMAKE_COMMAND} -E copy ${SONABRIX_MANUAL} ${SONABRIX_BUILT_MANUAL}
  DEPENDS ${SONABRIX_MANUAL}
  COMMENT "Copying the sonabrix manual beside the program")
add_custom_target(sonabrix_manual ALL DEPENDS ${SONABRIX_BUILT_MANUAL})
add_dependencies(sonabrix sonabrix_manual)

# Installed as <prefix>/lib/sonabrix/sonabrix with Manual/ beside it, and
# linked from <prefix>/bin; the program resolves the link to find its folder.
set(SONABRIX_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/sonabrix)
install(TARGETS sonabrix RUNTIME DESTINATION ${SONABRIX_INSTALL_DIR})
install(FILES ${SONABRIX_MANUAL} DESTINATION ${SONABRIX_INSTALL_DIR}/Manual)
# The marker of an installed copy (kInstalledMarker in work_dir.h): its
# folder is never the working folder, even for root, who may write there.
set(SONABRIX_INSTALLED_MARKER ${CMAKE_CURRENT_BINARY_DIR}/sonabrix.installed)
file(WRITE ${SONABRIX_INSTALLED_MARKER}
  "An installed sonabrix: it works in the folder it is started from, not in this one.\n")
install(FILES ${SONABRIX_INSTALLED_MARKER} DESTINATION ${SONABRIX_INSTALL_DIR})
# Installs the symbolic link <link_dir>/<name> to `target`. Both are install
# destinations: relative to the prefix given at install time, or absolute.
# The link holds the relative path from its folder to the target.
function(install_relative_link target link_dir name)
  install(CODE "
    set(target \"${target}\")
    set(link_dir \"${link_dir}\")
    if(NOT IS_ABSOLUTE \"\${target}\")
      set(target \"\${CMAKE_INSTALL_PREFIX}/\${target}\")
    endif()
    if(NOT IS_ABSOLUTE \"\${link_dir}\")
      set(link_dir \"\${CMAKE_INSTALL_PREFIX}/\${link_dir}\")
    endif()
    file(RELATIVE_PATH relative \"\${link_dir}\" \"\${target}\")
    set(link \"\$ENV{DESTDIR}\${link_dir}/${name}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${link_dir}\")
    file(CREATE_LINK \"\${relative}\" \"\${link}\" SYMBOLIC)
    message(STATUS \"Linking: \${link} -> \${relative}\")
  ")
endfunction()

install_relative_link(${SONABRIX_INSTALL_DIR}/sonabrix ${CMAKE_INSTALL_BINDIR} sonabrix)

# The converters are installed in <prefix>/bin. Links to them beside sonabrix
# let it find them in its own folder whatever PATH holds.
foreach(converter irgen irexpo)
  if(TARGET ${converter})
    install_relative_link(${CMAKE_INSTALL_BINDIR}/${converter} ${SONABRIX_INSTALL_DIR} ${converter})
  endif()
endforeach()

# Tests --------------------------------------------------------------------

# A stand-in converter for the tests only: records the words and the folder
# it was started with. Never installed.
add_executable(argv_recorder ${CMAKE_CURRENT_SOURCE_DIR}/testing/argv_recorder.cpp)
set_target_properties(argv_recorder PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/testing)

# A stand-in terminal emulator: records its words and runs the command it
# was given, its output into a file. Never installed.
add_executable(terminal_standin ${CMAKE_CURRENT_SOURCE_DIR}/testing/terminal_standin.cpp)
set_target_properties(terminal_standin PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/testing)

add_executable(frontend_window_tests
  ${CMAKE_CURRENT_SOURCE_DIR}/testing/fake_desktop.h
  ${CMAKE_CURRENT_SOURCE_DIR}/testing/recorded_start.h
  ${CMAKE_CURRENT_SOURCE_DIR}/testing/window_fixture.h
  ${CMAKE_CURRENT_SOURCE_DIR}/testing/window_test_main.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/browse_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/end_to_end_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/terminal_start_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/launch_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/main_window_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/qt_desktop_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/select_on_focus_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/startup_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/twips_test.cpp
)
target_link_libraries(frontend_window_tests PRIVATE frontend_window Qt6::Test GTest::gtest)
add_dependencies(frontend_window_tests argv_recorder terminal_standin sonabrix sonabrix_manual)
set(SONABRIX_TEST_DEFINITIONS
  ARGV_RECORDER="$<TARGET_FILE:argv_recorder>"
  TERMINAL_STANDIN="$<TARGET_FILE:terminal_standin>"
  SONABRIX_PROGRAM="$<TARGET_FILE:sonabrix>"
  SONABRIX_BUILT_MANUAL="${SONABRIX_BUILT_MANUAL}")
if(TARGET irgen)
  list(APPEND SONABRIX_TEST_DEFINITIONS IRGEN_PROGRAM="$<TARGET_FILE:irgen>")
  add_dependencies(frontend_window_tests irgen)
endif()
if(TARGET irexpo)
  list(APPEND SONABRIX_TEST_DEFINITIONS IREXPO_PROGRAM="$<TARGET_FILE:irexpo>")
  add_dependencies(frontend_window_tests irexpo)
endif()
if(XCB_LIBRARY)
  list(APPEND SONABRIX_TEST_DEFINITIONS FRONTEND_HAVE_XCB)
  target_link_libraries(frontend_window_tests PRIVATE ${XCB_LIBRARY})
endif()
target_compile_definitions(frontend_window_tests PRIVATE ${SONABRIX_TEST_DEFINITIONS})
gtest_discover_tests(frontend_window_tests
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)

# An install into a scratch folder, checked for the layout that the installed
# program relies on.
add_test(NAME sonabrix_install_layout
  COMMAND ${CMAKE_COMMAND}
    -DBUILD_DIR=${PROJECT_BINARY_DIR}
    -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/install_layout_test
    -DBIN_DIR=${CMAKE_INSTALL_BINDIR}
    -DSONABRIX_DIR=${SONABRIX_INSTALL_DIR}
    -DCONVERTERS=$<IF:$<AND:$<TARGET_EXISTS:irgen>,$<TARGET_EXISTS:irexpo>>,irgen$<SEMICOLON>irexpo,>
    -P ${CMAKE_CURRENT_SOURCE_DIR}/install_layout_test.cmake)
set_tests_properties(sonabrix_install_layout PROPERTIES TIMEOUT 120)
