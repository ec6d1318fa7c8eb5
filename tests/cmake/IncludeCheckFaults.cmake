# The include check on a small tree with one fault of each kind: it must name
# each faulty include or declaration, and nothing that keeps the rule.
#   cmake -DVXN_SOURCE_DIR=<root> -DVXN_WORK_DIR=<scratch folder> -P IncludeCheckFaults.cmake
cmake_minimum_required(VERSION 3.25)

set(tree "${VXN_WORK_DIR}/tree")
file(REMOVE_RECURSE "${tree}")
function(put path text)
  file(WRITE "${tree}/${path}" "${text}\n")
endfunction()

# Folders a, b, c, bottom up.
put(a/deps.cmake "# a comment naming vxn_uses(b) is no declaration\nvxn_uses(c)")
put(b/deps.cmake "vxn_uses(a)")
put(c/deps.cmake "vxn_uses(\n  b)")
put(a/A.h "#pragma once")
put(a/Up.cpp "#include \"a/A.h\"\n#include \"b/B.h\"")
put(b/B.h "#include \"a/A.h\"")
put(b/Bare.cpp "#include \"B.h\"\n#include <vector>")
put(c/C.h "#include \"b/B.h\"")
put(c/C.cpp "#include \"c/C.h\"\n#include \"a/A.h\"\n  #  include \"tests/c/X.h\"")
put(tests/c/X.h "#include \"a/A.h\"")
put(tests/b/BTest.cpp "#include \"b/B.h\"\n#include \"c/C.h\"")
put(tests/b/program/program.cmake "target_link_libraries(program PRIVATE vxn_c)")
put(tests/b/program/Program.cpp "#include \"c/C.h\"")
put(tests/support/Fixture.h "#include \"c/C.h\"")
put(fuzz/Startup.cpp "#include \"a/A.h\"")

execute_process(COMMAND ${CMAKE_COMMAND} -DVXN_SOURCE_DIR=${tree} -DVXN_LAYOUT_FOLDERS=a,b,c
                        -P ${VXN_SOURCE_DIR}/cmake/VxnCheckIncludes.cmake
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(out "${out}${err}")
if(result EQUAL 0)
  message(FATAL_ERROR "the check passed a faulty tree:\n${out}")
endif()
set(expected
  "a/deps.cmake: c is not a folder below a"
  "a/Up.cpp: \"b/B.h\" is in b, which a/deps.cmake does not declare"
  "b/Bare.cpp: \"B.h\" is not a path from the repository's root"
  "c/C.cpp: \"a/A.h\" is in a, which c/deps.cmake does not declare"
  "c/C.cpp: \"tests/c/X.h\" is not in a source folder"
  "tests/b/BTest.cpp: \"c/C.h\" is in c, which the tests of b does not declare"
  "6 include fault")
foreach(text ${expected})
  string(FIND "${out}" "${text}" at)
  if(at LESS 0)
    message(FATAL_ERROR "missing \"${text}\" in:\n${out}")
  endif()
endforeach()
