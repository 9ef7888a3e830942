korvo_bench(NAME bench_real_trajectory SOURCES ballistics_real_trajectory.cpp
  LIBS korvo_ballistics_core)
target_include_directories(bench_real_trajectory PRIVATE ${PROJECT_SOURCE_DIR}/tests/ballistics/core)
