# A program that links the forms library and references only Application and
# its start-up; it must still read a form naming every class a form may hold.
add_executable(startup_probe ${CMAKE_CURRENT_LIST_DIR}/StartupProbe.cpp)
target_link_libraries(startup_probe PRIVATE vxn_forms)
target_compile_definitions(startup_probe PRIVATE
  VXN_LSAN_SUPPRESSIONS="${CMAKE_SOURCE_DIR}/tests/lsan.supp")
add_test(NAME startup_probe COMMAND startup_probe)
set_tests_properties(startup_probe PROPERTIES LABELS forms TIMEOUT 60)
