korvo_bench(NAME bench_export SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/export_flow.cpp LIBS korvo_export)
