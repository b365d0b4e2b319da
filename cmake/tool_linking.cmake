# How messages-tool itself is linked: with libsodium's archive, so the program needs no shared
# library beyond the system's and starts about as fast as an empty one.
#   Linux with glibc  the whole program static, unused sections dropped (-static, --gc-sections)
#   macOS             libsodium's archive by its full path, the system library dynamic (Apple
#                     links no static programs), unused code dropped (-dead_strip)
# Sets MT_STATIC_TOOL (a cache option), MT_SODIUM_ARCHIVE and MT_TOOL_LINK_OPTIONS, and defines
# mt_link_statically(<target>), which every installed program uses.
include(CheckCXXSymbolExists)
check_cxx_symbol_exists(__GLIBC__ "cstdlib" MT_HAVE_GLIBC)

if(APPLE OR (CMAKE_SYSTEM_NAME STREQUAL "Linux" AND MT_HAVE_GLIBC))
  set(mt_static_default ON)
else()
  set(mt_static_default OFF)
endif()
# Sanitizer builds turn it off (they cannot link statically).
option(MT_STATIC_TOOL "Link messages-tool with libsodium's archive (on glibc Linux: fully static)"
       ${mt_static_default})

set(MT_TOOL_LINK_OPTIONS "")
if(MT_STATIC_TOOL)
  if(APPLE)
    set(MT_TOOL_LINK_OPTIONS -Wl,-dead_strip)
  elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND MT_HAVE_GLIBC)
    set(MT_TOOL_LINK_OPTIONS -static -Wl,--gc-sections)
  else()
    message(FATAL_ERROR "MT_STATIC_TOOL needs Linux with glibc or macOS; configure with -DMT_STATIC_TOOL=OFF")
  endif()
  # The archive in pkg-config's library directory first (Homebrew's Cellar on macOS).
  find_library(MT_SODIUM_ARCHIVE NAMES libsodium.a HINTS ${SODIUM_STATIC_LIBRARY_DIRS} ${SODIUM_LIBRARY_DIRS}
               REQUIRED)
endif()

# mt_link_statically(<target>): with MT_STATIC_TOOL, links the program with libsodium's archive
# where it links the signature block (the MT_STATIC_LINK property) and with the platform's
# options above, so it starts without loading shared libraries.
function(mt_link_statically target)
  if(MT_STATIC_TOOL)
    set_target_properties(${target} PROPERTIES MT_STATIC_LINK ON)
    target_link_options(${target} PRIVATE ${MT_TOOL_LINK_OPTIONS})
  endif()
endfunction()
