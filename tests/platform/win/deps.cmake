# The SDL display's test drives SDL itself. Its headers are all it takes (the
# library comes with vxn_win); SDL's compile flags would not fit the tests'
# shared precompiled header.
get_target_property(sdl_include_dirs PkgConfig::SDL2 INTERFACE_INCLUDE_DIRECTORIES)
target_include_directories(test_${label} PRIVATE ${sdl_include_dirs})
