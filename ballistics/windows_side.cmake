# The side windows: drag constant, converters, results and ideal trajectory.
target_sources(korvo_ballistics PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/Unit3.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Unit4.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Unit5.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Unit6.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Unit7.cpp
)
