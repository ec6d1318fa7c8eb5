# The tab-style gallery: every registered tab style with its tabs on each
# side, one picture per style in the build folder (headless, with and
# without visual styles).
add_executable(pc_style_gallery ${CMAKE_CURRENT_LIST_DIR}/PCStyleGallery.cpp)
# The fixture's tab control is a header of the tests; no test main.
target_include_directories(pc_style_gallery PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(pc_style_gallery PRIVATE vxn_pagecontrol GTest::gtest)
target_compile_definitions(pc_style_gallery PRIVATE
  VXN_LSAN_SUPPRESSIONS="${CMAKE_SOURCE_DIR}/tests/lsan.supp")
set(pc_gallery_out ${CMAKE_BINARY_DIR}/pc_style_gallery_out)
foreach(themes 1 0)
  add_test(NAME pc_style_gallery_themes_${themes}
    COMMAND ${CMAKE_COMMAND} -E env VXN_DISPLAY=headless VXN_THEMES=${themes}
            bash -c "mkdir -p '${pc_gallery_out}/${themes}' && '$<TARGET_FILE:pc_style_gallery>' '${pc_gallery_out}/${themes}' && test -s '${pc_gallery_out}/${themes}/pc-style-OneNote.png' && test -s '${pc_gallery_out}/${themes}/pc-style-Tabs.png'")
  set_tests_properties(pc_style_gallery_themes_${themes} PROPERTIES LABELS pagecontrol TIMEOUT 60)
endforeach()

# A form with a page control of three sheets: drawn headless with our visual
# styles and with none (pictures in the build folder), and shown in a real
# window under a virtual X server.
add_executable(page_control_gallery ${CMAKE_CURRENT_LIST_DIR}/PageControlGallery.cpp)
target_link_libraries(page_control_gallery PRIVATE vxn_pagecontrol)
target_compile_definitions(page_control_gallery PRIVATE
  VXN_LSAN_SUPPRESSIONS="${CMAKE_SOURCE_DIR}/tests/lsan.supp")
set(page_gallery_out ${CMAKE_BINARY_DIR}/page_control_gallery_out)
add_test(NAME page_control_gallery
  COMMAND ${CMAKE_COMMAND} -E env VXN_DISPLAY=headless
          bash -c "mkdir -p '${page_gallery_out}' && '$<TARGET_FILE:page_control_gallery>' '${page_gallery_out}'")
add_test(NAME page_control_gallery_no_styles
  COMMAND ${CMAKE_COMMAND} -E env VXN_DISPLAY=headless VXN_THEMES=0
          bash -c "mkdir -p '${page_gallery_out}/no-styles' && '$<TARGET_FILE:page_control_gallery>' '${page_gallery_out}/no-styles'")
add_test(NAME page_control_gallery_smoke
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run.sh $<TARGET_FILE:page_control_gallery> ${page_gallery_out}/smoke)
add_test(NAME page_control_gallery_smoke_no_styles
  COMMAND ${CMAKE_COMMAND} -E env VXN_THEMES=0
          bash ${CMAKE_CURRENT_LIST_DIR}/run.sh $<TARGET_FILE:page_control_gallery> ${page_gallery_out}/smoke-no-styles)
set_tests_properties(page_control_gallery page_control_gallery_no_styles PROPERTIES LABELS pagecontrol TIMEOUT 60)
# 77: the X tools are missing on this machine (CI installs them).
set_tests_properties(page_control_gallery_smoke page_control_gallery_smoke_no_styles
  PROPERTIES LABELS pagecontrol TIMEOUT 150 SKIP_RETURN_CODE 77)
