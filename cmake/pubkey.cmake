# mt_add_pubkey(<target> <key text>): an object library that defines MODELS_PUBKEY_HEX as
# the given text. The blocks library only declares the constant, so the tool and its test
# variants choose their key at link time from one configure.
#
# Any text builds: every byte is written as a \x escape, so quotes, backslashes and line
# breaks in the cache variable cannot break the generated source.
function(mt_add_pubkey target key_text)
  string(HEX "${key_text}" key_hex)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\"\\\\x\\1\" " MT_PUBKEY_LITERAL "${key_hex}")
  string(STRIP "${MT_PUBKEY_LITERAL}" MT_PUBKEY_LITERAL)
  if(MT_PUBKEY_LITERAL STREQUAL "")
    set(MT_PUBKEY_LITERAL "\"\"")
  endif()
  set(source "${CMAKE_CURRENT_BINARY_DIR}/${target}.cpp")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/pubkey.cpp.in" "${source}" @ONLY)
  add_library(${target} OBJECT "${source}")
  # For the declaration it defines.
  target_link_libraries(${target} PRIVATE mt_model_store)
endfunction()
