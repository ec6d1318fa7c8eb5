# Helpers that turn the folder layout into targets:
#   <folder>/*.cpp            -> static library vxn_<label>; the folder's deps.cmake names
#                                the folders it uses (vxn_uses), which are all the library
#                                links, and adds system libraries and extra sources
#   tests/<folder>/*.cpp      -> test executable test_<label>, label <label>
#   benchmarks/<folder>/*.cpp -> benchmark executable bench_<label>
#   fuzz/<folder>/*.cpp       -> one libFuzzer target per file
# Sources are globbed (CONFIGURE_DEPENDS), so adding a module needs no edit here.

set(VXN_FOLDERS "")
# Every source folder in dependency order, whether it has a library yet or not.
set_property(GLOBAL PROPERTY VXN_LAYOUT_FOLDERS "")

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
  set_property(GLOBAL APPEND PROPERTY VXN_LAYOUT_FOLDERS ${folder})
  string(MAKE_C_IDENTIFIER ${folder} id)
  set_property(GLOBAL PROPERTY VXN_LABEL_${id} ${label})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  # The program's entry point is not part of the application library.
  list(FILTER sources EXCLUDE REGEX "/app/vxn\\.cpp$")
  if(NOT sources)
    return()
  endif()
  add_library(vxn_${label} STATIC ${sources})
  # Includes name their folder from the repository's root.
  target_include_directories(vxn_${label} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  set(deps_cmake ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/deps.cmake)
  if(NOT EXISTS ${deps_cmake})
    message(FATAL_ERROR "${folder} has no deps.cmake naming the folders it uses")
  endif()
  include(${deps_cmake})
  set(VXN_FOLDERS ${VXN_FOLDERS} "${folder}|${label}|${name}" PARENT_SCOPE)
endfunction()

# Called from a folder's deps.cmake: the folders whose headers it includes.
# Each must stand below the folder; the folder's library links exactly these.
function(vxn_uses)
  get_property(known GLOBAL PROPERTY VXN_LAYOUT_FOLDERS)
  foreach(used ${ARGN})
    list(FIND known ${used} at)
    if(at LESS 0 OR used STREQUAL folder)
      message(FATAL_ERROR "${folder}/deps.cmake: ${used} is not a folder below ${folder}")
    endif()
    string(MAKE_C_IDENTIFIER ${used} id)
    get_property(used_label GLOBAL PROPERTY VXN_LABEL_${id})
    # A folder of headers only has no library to link.
    if(TARGET vxn_${used_label})
      target_link_libraries(vxn_${label} PUBLIC vxn_${used_label})
    endif()
  endforeach()
endfunction()

# A test that fails when a file includes a header of a folder its folder does
# not declare (or of one above it), or names a project header without its
# folder.
function(vxn_include_check_test)
  get_property(folders GLOBAL PROPERTY VXN_LAYOUT_FOLDERS)
  string(REPLACE ";" "," folders "${folders}")
  add_test(NAME layout.Includes
           COMMAND ${CMAKE_COMMAND} -DVXN_SOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}
                   -DVXN_LAYOUT_FOLDERS=${folders} -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/VxnCheckIncludes.cmake)
  add_test(NAME layout.IncludeCheckFaults
           COMMAND ${CMAKE_COMMAND} -DVXN_SOURCE_DIR=${CMAKE_CURRENT_SOURCE_DIR}
                   -DVXN_WORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/include_check_faults
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/cmake/IncludeCheckFaults.cmake)
  set_tests_properties(layout.Includes layout.IncludeCheckFaults PROPERTIES LABELS layout)
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
  # System libraries that only the tests use directly.
  set(test_deps ${CMAKE_CURRENT_SOURCE_DIR}/tests/${folder}/deps.cmake)
  if(EXISTS ${test_deps})
    include(${test_deps})
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
  target_link_libraries(bench_${label} PRIVATE benchmark::benchmark_main vxn_${label})
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
    target_link_libraries(fuzz_${label}_${name} PRIVATE vxn_${label})
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
