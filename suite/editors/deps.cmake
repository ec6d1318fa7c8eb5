# The folders whose headers this folder includes.
vxn_uses(platform/rtl platform/win platform/forms platform/db suite/foundation)
