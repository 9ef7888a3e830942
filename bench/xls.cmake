# The workbook writer: a 20 MB record stream written into a finished file, and a shared string table of
# 650,000 distinct strings.
korvo_bench(NAME bench_xls
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/xls_writer.cpp
  LIBS korvo_xls)
