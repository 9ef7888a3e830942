# The windows driven for real on Qt's offscreen platform: a whole default run
# of the real-trajectory window and the start-up to the main window shown.
if(KORVO_GUI)
  korvo_bench(NAME bench_app
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/app_windows.cpp
    LIBS korvo_app Qt6::Test)
endif()
