# GUI tests of the calculator windows arrive here.
include(${CMAKE_CURRENT_SOURCE_DIR}/windows_side.cmake OPTIONAL)
