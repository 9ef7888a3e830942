# The cell-style model and its registry.
target_sources(korvo_xls PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/CellFormat.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Styles.cpp
)
