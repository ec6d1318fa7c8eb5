# The menu skin on a real window: run.sh opens the skinned main menu over the
# tool bar under xvfb-run, checks the skin's colours on screen and keeps a
# screenshot.
add_executable(skin_smoke ${CMAKE_CURRENT_LIST_DIR}/SkinSmokeForm.cpp)
target_link_libraries(skin_smoke PRIVATE vxn_controls)
target_compile_definitions(skin_smoke PRIVATE
  VXN_LSAN_SUPPRESSIONS="${CMAKE_SOURCE_DIR}/tests/lsan.supp")
add_test(NAME skin_smoke
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run.sh $<TARGET_FILE:skin_smoke> ${CMAKE_BINARY_DIR}/skin_smoke_out)
# 77: the X tools are missing on this machine (CI installs them).
set_tests_properties(skin_smoke PROPERTIES LABELS controls TIMEOUT 150 SKIP_RETURN_CODE 77)
