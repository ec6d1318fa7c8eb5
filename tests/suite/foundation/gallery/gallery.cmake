# The painter gallery: every painter's operations side by side, written to
# painter-gallery.png in the build folder (headless, and with visual styles
# switched off), and shown in a real window under a virtual X server.
add_executable(painter_gallery ${CMAKE_CURRENT_LIST_DIR}/PainterGallery.cpp)
target_link_libraries(painter_gallery PRIVATE vxn_foundation)
target_compile_definitions(painter_gallery PRIVATE
  VXN_LSAN_SUPPRESSIONS="${CMAKE_SOURCE_DIR}/tests/lsan.supp")
set(gallery_out ${CMAKE_BINARY_DIR}/painter_gallery_out)
add_test(NAME painter_gallery
  COMMAND ${CMAKE_COMMAND} -E env VXN_DISPLAY=headless
          bash -c "mkdir -p '${gallery_out}' && '$<TARGET_FILE:painter_gallery>' '${gallery_out}' && test -s '${gallery_out}/painter-gallery.png'")
add_test(NAME painter_gallery_no_styles
  COMMAND ${CMAKE_COMMAND} -E env VXN_DISPLAY=headless VXN_THEMES=0
          bash -c "mkdir -p '${gallery_out}/no-styles' && '$<TARGET_FILE:painter_gallery>' '${gallery_out}/no-styles' && test -s '${gallery_out}/no-styles/painter-gallery.png'")
add_test(NAME painter_gallery_smoke
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run.sh $<TARGET_FILE:painter_gallery> ${gallery_out}/smoke)
set_tests_properties(painter_gallery painter_gallery_no_styles PROPERTIES LABELS foundation TIMEOUT 60)
# 77: the X tools are missing on this machine (CI installs them).
set_tests_properties(painter_gallery_smoke PROPERTIES LABELS foundation TIMEOUT 150 SKIP_RETURN_CODE 77)
