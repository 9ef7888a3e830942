# The calculator windows (Qt), on top of the Qt-free core and the shared chrome.
set(CMAKE_AUTOMOC ON)
korvo_library(korvo_ballistics
  ${CMAKE_CURRENT_SOURCE_DIR}/Unit2.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/TrajectoryChartModel.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/TrajectoryTableModel.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/RunPacing.cpp
)
target_link_libraries(korvo_ballistics PUBLIC korvo_ballistics_core korvo_chrome korvo_export korvo_parser
  Qt6::Widgets Qt6::Charts)

# The side windows (drag constant, converters, results, ideal trajectory).
include(${CMAKE_CURRENT_SOURCE_DIR}/windows_side.cmake OPTIONAL)
