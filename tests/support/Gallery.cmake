# vxn_form_gallery(<program> <source> <library> <label> <run script>): a
# gallery program that draws a form headless into <program>_out in the build
# folder, with our visual styles and with none, and whose run script shows it
# under a virtual X server in both modes (skipped, 77, where the X tools are
# missing; CI installs them).
function(vxn_form_gallery program source library label run_script)
  add_executable(${program} ${source})
  target_link_libraries(${program} PRIVATE ${library})
  target_compile_definitions(${program} PRIVATE
    VXN_LSAN_SUPPRESSIONS="${CMAKE_SOURCE_DIR}/tests/lsan.supp")
  set(out ${CMAKE_BINARY_DIR}/${program}_out)
  add_test(NAME ${program}
    COMMAND ${CMAKE_COMMAND} -E env VXN_DISPLAY=headless
            bash -c "mkdir -p '${out}' && '$<TARGET_FILE:${program}>' '${out}'")
  add_test(NAME ${program}_no_styles
    COMMAND ${CMAKE_COMMAND} -E env VXN_DISPLAY=headless VXN_THEMES=0
            bash -c "mkdir -p '${out}/no-styles' && '$<TARGET_FILE:${program}>' '${out}/no-styles'")
  add_test(NAME ${program}_smoke
    COMMAND bash ${run_script} $<TARGET_FILE:${program}> ${out}/smoke)
  add_test(NAME ${program}_smoke_no_styles
    COMMAND ${CMAKE_COMMAND} -E env VXN_THEMES=0
            bash ${run_script} $<TARGET_FILE:${program}> ${out}/smoke-no-styles)
  set_tests_properties(${program} ${program}_no_styles PROPERTIES LABELS ${label} TIMEOUT 60)
  set_tests_properties(${program}_smoke ${program}_smoke_no_styles
    PROPERTIES LABELS ${label} TIMEOUT 150 SKIP_RETURN_CODE 77)
endfunction()
