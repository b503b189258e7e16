# The pure rules of the main window: form state, mode setups, field rules,
# number patterns, command lines, regional checks, WorkDir, word splitting,
# program lookup and file dialog requests. Qt Core only, so that they are
# tested without a window.
add_library(frontend_rules STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/command_line.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/command_words.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/field_rules.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/file_dialog.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/messages.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/mode_setup.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/number_patterns.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/program_lookup.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/regional_check.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/work_dir.cpp
)
target_include_directories(frontend_rules PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(frontend_rules PUBLIC Qt6::Core)

add_executable(frontend_rules_tests
  ${CMAKE_CURRENT_SOURCE_DIR}/command_line_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/command_words_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/field_rules_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/file_dialog_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/mode_setup_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/number_patterns_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/program_lookup_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/regional_check_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/work_dir_test.cpp
)
target_link_libraries(frontend_rules_tests PRIVATE frontend_rules GTest::gtest_main)
gtest_discover_tests(frontend_rules_tests PROPERTIES TIMEOUT 120)
