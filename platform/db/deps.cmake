# The folders whose headers this folder includes.
vxn_uses(platform/rtl platform/forms)
