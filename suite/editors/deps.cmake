# The folders whose headers this folder includes.
vxn_uses(platform/rtl platform/win platform/forms suite/foundation)
