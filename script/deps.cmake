# The folders whose headers this folder includes.
vxn_uses(platform/rtl platform/forms)

# The four language grammars are compiled in as resources.
vxn_add_resources(vxn_${label} GRAMMAR
  JScript ${CMAKE_CURRENT_SOURCE_DIR}/script/grammars/JScript.xml
  BasicScript ${CMAKE_CURRENT_SOURCE_DIR}/script/grammars/BasicScript.xml
  CppScript ${CMAKE_CURRENT_SOURCE_DIR}/script/grammars/CppScript.xml
  PascalScript ${CMAKE_CURRENT_SOURCE_DIR}/script/grammars/PascalScript.xml)
