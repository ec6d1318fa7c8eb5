# Stands on no other folder.

# Threads for TThread and the events; the settings store and files need no more.
find_package(Threads REQUIRED)
target_link_libraries(vxn_${label} PUBLIC Threads::Threads)
