# The folders whose headers this folder includes.
vxn_uses(platform/rtl platform/win serial suite/editors suite/pagecontrol suite/data controls report)
