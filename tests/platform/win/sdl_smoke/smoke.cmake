# The desktop backend under a virtual X server: run.sh starts a small form
# under xvfb-run, clicks and types with xdotool and keeps a screenshot.
add_executable(sdl_smoke ${CMAKE_CURRENT_LIST_DIR}/SdlSmokeForm.cpp)
target_link_libraries(sdl_smoke PRIVATE vxn_forms)
target_compile_definitions(sdl_smoke PRIVATE
  VXN_LSAN_SUPPRESSIONS="${CMAKE_SOURCE_DIR}/tests/lsan.supp")
add_test(NAME sdl_smoke
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run.sh $<TARGET_FILE:sdl_smoke> ${CMAKE_BINARY_DIR}/sdl_smoke_out)
# 77: the X tools are missing on this machine (CI installs them).
set_tests_properties(sdl_smoke PROPERTIES LABELS win TIMEOUT 150 SKIP_RETURN_CODE 77)

# A form used as a person uses it (mnemonics, a popup menu, typing, idle
# sleep, SIGTERM), driven by drive_use.sh.
add_executable(sdl_desktop_use ${CMAKE_CURRENT_LIST_DIR}/DesktopUseForm.cpp)
target_link_libraries(sdl_desktop_use PRIVATE vxn_forms)
target_compile_definitions(sdl_desktop_use PRIVATE
  VXN_LSAN_SUPPRESSIONS="${CMAKE_SOURCE_DIR}/tests/lsan.supp")
add_test(NAME sdl_desktop_use
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run.sh $<TARGET_FILE:sdl_desktop_use> ${CMAKE_BINARY_DIR}/sdl_desktop_use_out
          drive_use.sh)
set_tests_properties(sdl_desktop_use PROPERTIES LABELS win TIMEOUT 150 SKIP_RETURN_CODE 77)

# The same program as an MDI frame: a maximised child's buttons and icon in
# the frame's menu bar, by mouse (drive_mdi.sh).
add_test(NAME sdl_mdi_use
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run.sh $<TARGET_FILE:sdl_desktop_use> ${CMAKE_BINARY_DIR}/sdl_mdi_use_out
          drive_mdi.sh)
set_tests_properties(sdl_mdi_use PROPERTIES LABELS win TIMEOUT 150 SKIP_RETURN_CODE 77)
