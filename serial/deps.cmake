# The folders whose headers this folder includes.
vxn_uses(platform/rtl platform/win platform/forms)

# The port selection dialog's layout is compiled in as a form resource.
vxn_add_resources(vxn_${label} FORM TComSelectForm ${CMAKE_CURRENT_SOURCE_DIR}/serial/AdSelCom.form)
