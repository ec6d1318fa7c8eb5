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
vxn_form_gallery(page_control_gallery ${CMAKE_CURRENT_LIST_DIR}/PageControlGallery.cpp vxn_pagecontrol pagecontrol
                 ${CMAKE_CURRENT_LIST_DIR}/run.sh)
