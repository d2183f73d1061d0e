# The description parser and printer: mavu-anim, its tests, the fuzz targets
# and their seed writer all use it (the fuzz build includes this file itself,
# having no tools).
add_library(mavu_anim_description STATIC
  ${CMAKE_CURRENT_LIST_DIR}/description_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/description_printer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/key_clauses.cpp
  ${CMAKE_CURRENT_LIST_DIR}/key_words.cpp
  ${CMAKE_CURRENT_LIST_DIR}/line_cursor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/quoted_text.cpp
)
target_include_directories(mavu_anim_description PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(mavu_anim_description PUBLIC mavu_imaging)
