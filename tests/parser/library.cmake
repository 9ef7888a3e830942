# The function library on its own, and through the evaluator component.
korvo_test(NAME parser_math_functions SOURCES test_math_functions.cpp LIBS korvo_parser)
korvo_test(NAME parser_math_parser SOURCES test_math_functions_parser.cpp LIBS korvo_parser)
