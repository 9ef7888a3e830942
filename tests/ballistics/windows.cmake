# GUI tests of the real-trajectory window, on Qt's offscreen platform.
korvo_test(NAME test_unit2
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/test_unit2.cpp ${CMAKE_CURRENT_SOURCE_DIR}/test_unit2_chart.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/test_unit2_table.cpp
  LIBS korvo_ballistics Qt6::Test
  GUI)

# GUI tests of the calculator windows arrive here.
include(${CMAKE_CURRENT_SOURCE_DIR}/windows_side.cmake OPTIONAL)
