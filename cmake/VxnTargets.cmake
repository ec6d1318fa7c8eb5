# Helpers that turn the folder layout into targets:
#   <folder>/*.cpp            -> static library vxn_<label> (a folder's deps.cmake adds
#                                system libraries and extra sources)
#   tests/<folder>/*.cpp      -> test executable test_<label>, label <label>
#   benchmarks/<folder>/*.cpp -> benchmark executable bench_<label>
#   fuzz/<folder>/*.cpp       -> one libFuzzer target per file
# Sources are globbed (CONFIGURE_DEPENDS), so adding a module needs no edit here.

set(VXN_ALL_LIBRARIES "")
set(VXN_ALL_INCLUDE_DIRS "")
set(VXN_FOLDERS "")

# Writes a source that defines InitializeUnits() as the start-up of one folder
# library (which starts the folders below it first).
function(vxn_units_startup_source out folder name)
  set(content "#include \"platform/rtl/UnitsStartup.h\"\n#include \"${folder}/${name}Startup.h\"\n\nvoid InitializeUnits() { Initialize${name}(); }\n")
  if(EXISTS ${out})
    file(READ ${out} old)
  endif()
  if(NOT old STREQUAL content)
    file(WRITE ${out} "${content}")
  endif()
endfunction()

function(vxn_folder_library folder label name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  # The program's entry point is not part of the application library.
  list(FILTER sources EXCLUDE REGEX "/app/vxn\\.cpp$")
  if(NOT sources)
    return()
  endif()
  add_library(vxn_${label} STATIC ${sources})
  target_include_directories(vxn_${label} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/${folder}
                                                 ${CMAKE_CURRENT_SOURCE_DIR})
  # Each folder stands on every folder listed before it.
  target_link_libraries(vxn_${label} PUBLIC ${VXN_ALL_LIBRARIES})
  set(extra_cmake ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/deps.cmake)
  if(EXISTS ${extra_cmake})
    include(${extra_cmake})
  endif()
  set(VXN_ALL_LIBRARIES ${VXN_ALL_LIBRARIES} vxn_${label} PARENT_SCOPE)
  set(VXN_ALL_INCLUDE_DIRS ${VXN_ALL_INCLUDE_DIRS} ${CMAKE_CURRENT_SOURCE_DIR}/${folder} PARENT_SCOPE)
  set(VXN_FOLDERS ${VXN_FOLDERS} "${folder}|${label}|${name}" PARENT_SCOPE)
endfunction()

function(vxn_folder_tests entry)
  string(REPLACE "|" ";" parts ${entry})
  list(GET parts 0 folder)
  list(GET parts 1 label)
  list(GET parts 2 name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(startup ${CMAKE_CURRENT_BINARY_DIR}/test_${label}_startup.cpp)
  vxn_units_startup_source(${startup} ${folder} ${name})
  add_executable(test_${label} ${sources} ${startup})
  target_link_libraries(test_${label} PRIVATE vxn_test_support vxn_${label})
  target_precompile_headers(test_${label} REUSE_FROM vxn_test_pch)
  # Resources that only the tests use (vxn_add_resources on test_${label}).
  set(test_resources ${CMAKE_CURRENT_SOURCE_DIR}/tests/${folder}/resources.cmake)
  if(EXISTS ${test_resources})
    include(${test_resources})
  endif()
  # UBSan stays on in the libraries under test; in the test sources, which
  # are mostly the framework's macros, it only doubled the compile time.
  target_compile_options(test_${label} PRIVATE ${VXN_TEST_SANITIZE_OPTIONS})
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/test_${label}_suites.cmake)
  file(GENERATE OUTPUT ${include_file} CONTENT
"include(\"${CMAKE_CURRENT_SOURCE_DIR}/cmake/VxnTestSuites.cmake\")
vxn_add_test_suites(\"$<TARGET_FILE:test_${label}>\" ${label} \"${CMAKE_CURRENT_BINARY_DIR}/test_${label}_suites.txt\")
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()

function(vxn_folder_benchmarks entry)
  string(REPLACE "|" ";" parts ${entry})
  list(GET parts 0 folder)
  list(GET parts 1 label)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/benchmarks/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(bench_${label} ${sources})
  target_link_libraries(bench_${label} PRIVATE benchmark::benchmark_main ${VXN_ALL_LIBRARIES})
endfunction()

function(vxn_folder_fuzzers entry)
  string(REPLACE "|" ";" parts ${entry})
  list(GET parts 0 folder)
  list(GET parts 1 label)
  list(GET parts 2 unit)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/${folder}/*.cpp)
  set(startup ${CMAKE_CURRENT_BINARY_DIR}/fuzz_${label}_startup.cpp)
  vxn_units_startup_source(${startup} ${folder} ${unit})
  foreach(source ${sources})
    get_filename_component(name ${source} NAME_WE)
    add_executable(fuzz_${label}_${name} ${source} ${startup} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/FuzzStartup.cpp)
    target_link_libraries(fuzz_${label}_${name} PRIVATE ${VXN_ALL_LIBRARIES})
    target_link_options(fuzz_${label}_${name} PRIVATE -fsanitize=fuzzer)
  endforeach()
endfunction()

# Language files and the default settings file live beside the program.
function(vxn_install_resources target)
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/beside/*)
  foreach(f ${files})
    get_filename_component(name ${f} NAME)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} $<TARGET_FILE_DIR:${target}>/${name})
  endforeach()
endfunction()
