# The side windows' arithmetic and the ideal-trajectory plot.
target_sources(korvo_ballistics_core PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/Calculators.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/IdealPlot.cpp
)
