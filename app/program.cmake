# The main and about windows and the start-up, as a library that the tests and
# benchmarks link, and the program KORVO on top of it.
korvo_library(korvo_app
  ${CMAKE_CURRENT_SOURCE_DIR}/Startup.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Unit1.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/Unit8.cpp
)
target_link_libraries(korvo_app PUBLIC korvo_chrome korvo_ballistics korvo_export Qt6::Widgets)

add_executable(KORVO ${CMAKE_CURRENT_SOURCE_DIR}/KORVO.cpp)
target_link_libraries(KORVO PRIVATE korvo_app)

# Takes the README's picture of the real-trajectory window after a default run.
add_executable(korvo_screenshot ${CMAKE_CURRENT_SOURCE_DIR}/Screenshot.cpp)
target_link_libraries(korvo_screenshot PRIVATE korvo_app)
