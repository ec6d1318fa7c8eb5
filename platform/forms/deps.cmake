# The folders whose headers this folder includes.
vxn_uses(platform/rtl platform/win)

# JPEG pictures go through libjpeg's classic (6b) interface.
pkg_check_modules(VXN_LIBJPEG REQUIRED IMPORTED_TARGET libjpeg)
target_link_libraries(vxn_${label} PRIVATE PkgConfig::VXN_LIBJPEG)
