# The ideal-trajectory plot driven for real on Qt's offscreen platform.
if(KORVO_GUI)
  korvo_bench(NAME bench_ideal
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ideal_plot.cpp
    LIBS korvo_ballistics Qt6::Test)
endif()
