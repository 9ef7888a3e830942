# GUI tests of the side windows and the ideal-trajectory window, on Qt's
# offscreen platform.
korvo_test(NAME test_side_windows
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/test_unit3.cpp ${CMAKE_CURRENT_SOURCE_DIR}/test_unit4_5.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/test_unit6.cpp
  LIBS korvo_ballistics Qt6::Test
  GUI)
korvo_test(NAME test_unit7
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/test_unit7.cpp ${CMAKE_CURRENT_SOURCE_DIR}/test_unit7_plot.cpp
  LIBS korvo_ballistics Qt6::Test
  GUI)
