# The folders whose headers this folder includes.
vxn_uses(platform/db script)
