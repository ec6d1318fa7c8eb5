# Resources compiled into the program.
#
#   vxn_add_resources(<target> <TYPE> <NAME> <file> [<NAME> <file> ...])
#
# compiles each file into a table of (NAME, TYPE, bytes) that registers
# itself with the run-time library's resource lookup (Resources.h) when the
# program starts. The generated module goes into an object library whose
# objects are linked straight into every executable that uses <target>, so a
# static library cannot drop the self-registration. Call it once per type.
set(VXN_RESOURCE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/VxnResourceGen.cmake)

function(vxn_add_resources target type)
  set(pairs ${ARGN})
  list(LENGTH pairs count)
  math(EXPR odd "${count} % 2")
  if(count EQUAL 0 OR odd)
    message(FATAL_ERROR "vxn_add_resources(${target} ${type} ...): expected NAME file pairs")
  endif()
  set(names "")
  set(files "")
  while(pairs)
    list(POP_FRONT pairs name file)
    get_filename_component(file ${file} ABSOLUTE)
    list(APPEND names ${name})
    list(APPEND files ${file})
  endwhile()
  string(MAKE_C_IDENTIFIER "${target}_${type}" id)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/resources/${id}.cpp)
  string(REPLACE ";" "|" names_arg "${names}")
  string(REPLACE ";" "|" files_arg "${files}")
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DTYPE=${type} -DID=${id}
            "-DNAMES=${names_arg}" "-DFILES=${files_arg}" -P ${VXN_RESOURCE_SCRIPT}
    DEPENDS ${files} ${VXN_RESOURCE_SCRIPT}
    COMMENT "Compiling ${type} resources of ${target}"
    VERBATIM)
  add_library(${id}_res OBJECT ${out})
  target_include_directories(${id}_res PRIVATE ${CMAKE_SOURCE_DIR}/platform/rtl ${CMAKE_SOURCE_DIR})
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "EXECUTABLE")
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:${id}_res>)
  else()
    target_link_libraries(${target} INTERFACE $<TARGET_OBJECTS:${id}_res>)
  endif()
endfunction()
