# Two builds of one commit with one key, made in different directories, give the same bytes:
# source and build paths are mapped out of everything the compiler writes (file names in
# diagnostics macros, debug information). The release and dev presets turn this on; the compiler
# writes no time stamps of its own, and the linker's build id is a hash of the output.
option(MT_REPRODUCIBLE "Map the source and build directories out of compiled objects" OFF)
if(MT_REPRODUCIBLE)
  # The later map wins where both match, and the build directory may lie inside the sources.
  add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=" "-ffile-prefix-map=${PROJECT_BINARY_DIR}/=")
endif()
