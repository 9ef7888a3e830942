# The evaluator the way the ideal plot calls it at every tick: Parse then
# Evaluate of the two formula texts of its first default point, and Evaluate
# alone of a compiled script. When Debian's muparser is installed, the same
# texts go through a fresh SetExpr + Eval of it in the same program, so that
# the ratio is measured side by side.
find_library(KORVO_MUPARSER_LIBRARY muparser)
find_path(KORVO_MUPARSER_INCLUDE muParser.h)
korvo_bench(NAME bench_parser
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/parser_evaluate.cpp
  LIBS korvo_parser)
if(KORVO_MUPARSER_LIBRARY AND KORVO_MUPARSER_INCLUDE)
  target_compile_definitions(bench_parser PRIVATE KORVO_WITH_MUPARSER=1)
  target_include_directories(bench_parser SYSTEM PRIVATE ${KORVO_MUPARSER_INCLUDE})
  target_link_libraries(bench_parser PRIVATE ${KORVO_MUPARSER_LIBRARY})
endif()
