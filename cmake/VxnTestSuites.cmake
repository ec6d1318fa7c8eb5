# Runs at CTest time (included through TEST_INCLUDE_FILES): registers one test
# per GoogleTest suite of a test executable, named <label>.<suite>. A suite's
# cases share one process, so the start and the leak check at exit are paid
# once a suite instead of once a case. The suite list is read from the
# executable whenever it is newer than the saved list.
function(vxn_add_test_suites exe label list_file)
  if(NOT EXISTS "${exe}")
    add_test("${label}.NOT_BUILT" "${exe}")
    return()
  endif()
  if(NOT EXISTS "${list_file}" OR "${exe}" IS_NEWER_THAN "${list_file}")
    execute_process(COMMAND "${exe}" --gtest_list_tests
      OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE rc TIMEOUT 60)
    if(NOT rc EQUAL 0)
      # A test that fails and shows why beats a silently missing folder.
      add_test("${label}.LIST_FAILED" "${exe}" --gtest_list_tests)
      return()
    endif()
    string(REPLACE "\n" ";" lines "${listing}")
    set(suites "")
    foreach(line IN LISTS lines)
      # Suite lines start in the first column ("Suite." or "Prefix/Suite.  # TypeParam ...").
      if(line MATCHES "^([^ #][^ ]*)\\.")
        list(APPEND suites "${CMAKE_MATCH_1}")
      endif()
    endforeach()
    file(WRITE "${list_file}" "${suites}")
  endif()
  file(READ "${list_file}" suites)
  foreach(suite IN LISTS suites)
    add_test("${label}.${suite}" "${exe}" "--gtest_filter=${suite}.*")
    set_tests_properties("${label}.${suite}" PROPERTIES LABELS "${label}" TIMEOUT 300)
  endforeach()
endfunction()
