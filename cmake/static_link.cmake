# mt_link_statically(<target>): with MT_STATIC_TOOL, links the program statically, libsodium's
# archive included where it links the signature block (the MT_STATIC_LINK property), so it
# starts without the dynamic loader. Sanitizer builds turn MT_STATIC_TOOL off.
function(mt_link_statically target)
  if(MT_STATIC_TOOL)
    set_target_properties(${target} PROPERTIES MT_STATIC_LINK ON)
    target_link_options(${target} PRIVATE -static -Wl,--gc-sections)
  endif()
endfunction()
