# The function library and the evaluator component built on the core.
target_sources(korvo_parser PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/MathFunctions.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/MathParser.cpp
)
