# The folders whose headers this folder includes.
vxn_uses(platform/rtl)

# Drawing goes through cairo (image and PDF surfaces) and pixman (regions).
# They are public because GdiPrivate.h, which the GDI tests read, names their
# types; nothing else of the system libraries reaches a caller's compile.
pkg_check_modules(VXN_CAIRO REQUIRED IMPORTED_TARGET cairo cairo-pdf cairo-png)
pkg_check_modules(VXN_PIXMAN REQUIRED IMPORTED_TARGET pixman-1)
target_link_libraries(vxn_${label} PUBLIC PkgConfig::VXN_CAIRO PkgConfig::VXN_PIXMAN)
# Text goes through pango on cairo with fontconfig choosing the families; the
# text engine reads font tables through FreeType and gives pango its own
# fontconfig set.
pkg_check_modules(VXN_PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
pkg_check_modules(VXN_FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(VXN_PANGOFT2 REQUIRED IMPORTED_TARGET pangoft2 freetype2)
target_link_libraries(vxn_${label} PRIVATE PkgConfig::VXN_PANGOCAIRO PkgConfig::VXN_FONTCONFIG
                      PkgConfig::VXN_PANGOFT2)
# Real windows on a desktop (the sdl display backend).
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
target_link_libraries(vxn_${label} PRIVATE PkgConfig::SDL2)
# Printers are the destinations of a CUPS server.
find_package(Cups REQUIRED)
target_link_libraries(vxn_${label} PRIVATE Cups::Cups)
