# The filter editor "equal": the filter file (standard C++ only, so that it
# can be built alone, by a fuzzing harness for instance), the pure rules of
# the editor (Qt Core), and the window, built into the front end's window
# library.
set(FILTER_EDITOR_DIR ${CMAKE_CURRENT_LIST_DIR})

add_library(filter_file STATIC
  ${FILTER_EDITOR_DIR}/decimal_text.cpp
  ${FILTER_EDITOR_DIR}/filter_file.cpp
)
target_include_directories(filter_file PUBLIC ${FILTER_EDITOR_DIR}/../..)
set_target_properties(filter_file PROPERTIES AUTOMOC OFF)

add_library(filter_editor_rules STATIC
  ${FILTER_EDITOR_DIR}/band_model.cpp
  ${FILTER_EDITOR_DIR}/editor_numbers.cpp
)
target_link_libraries(filter_editor_rules PUBLIC filter_file frontend_rules)

add_executable(filter_editor_rules_tests
  ${FILTER_EDITOR_DIR}/band_model_test.cpp
  ${FILTER_EDITOR_DIR}/editor_numbers_test.cpp
  ${FILTER_EDITOR_DIR}/filter_file_test.cpp
)
target_link_libraries(filter_editor_rules_tests PRIVATE filter_editor_rules GTest::gtest_main)
gtest_discover_tests(filter_editor_rules_tests PROPERTIES TIMEOUT 120)
