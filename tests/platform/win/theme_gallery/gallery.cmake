# Pictures of every part and state of the visual style, at 96 and 192 dpi,
# written under the build folder for people to look at.
add_executable(theme_gallery ${CMAKE_CURRENT_LIST_DIR}/ThemeGallery.cpp)
target_link_libraries(theme_gallery PRIVATE vxn_win)
target_compile_definitions(theme_gallery PRIVATE
  VXN_LSAN_SUPPRESSIONS="${CMAKE_SOURCE_DIR}/tests/lsan.supp")
add_test(NAME theme_gallery COMMAND theme_gallery ${CMAKE_BINARY_DIR}/theme_gallery_out)
set_tests_properties(theme_gallery PROPERTIES LABELS win TIMEOUT 60)
