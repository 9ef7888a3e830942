# SPDX-License-Identifier: GPL-3.0-or-later
# korvo_test(NAME <name> SOURCES <files...> LIBS <targets...> [GUI])
# One test program per call, linked against the library targets it tests.
# GUI tests run on Qt's offscreen platform so that they need no display.
function(korvo_test)
  cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(T_GUI)
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()

# korvo_library(<name> <sources...>): a static library whose public headers are
# included as "<folder>/<Header>.h" from the project root.
function(korvo_library NAME)
  add_library(${NAME} STATIC ${ARGN})
  target_include_directories(${NAME} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
