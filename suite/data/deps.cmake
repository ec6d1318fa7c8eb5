# The folders whose headers this folder includes.
vxn_uses(platform/rtl platform/db suite/foundation suite/editors)
