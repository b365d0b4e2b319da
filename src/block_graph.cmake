# The block graph, written once: each block, program or key object, then the targets it links and
# passes on to whatever links it (PUBLIC), then, after PRIVATE, those it links for its own files
# alone. A target's files see the public headers of the blocks it links, and of what those pass
# on, again and again; of no other block. The configure stops when a target's links differ from
# its line (mt_check_block_graph), and the include-graph test (tests/include_graph) compiles a
# probe for every pair of a target and a block: the include must compile where the line lets
# the target see the block, and fail everywhere else.
#
#   floor 0   mt_common (error values, text helpers)
#   floor 1   mt_hex, mt_messages (records, reader, rules), mt_feed_files (bounded reads),
#             mt_outcome (what a run prints)
#   floor 2   mt_signature (the Ed25519 gate), mt_lint (the authors' checker's core)
#   floor 3   mt_model_store (the embedded production key and its loader), mt_lsp (messages-lint's
#             language server, over the lint core)
#   floor 4   mt_verify_feed (key, signature, then reader and rules)
#   floor 5   mt_cli (messages-tool's front end), mt_lint_cli (messages-lint's)
#   programs  messages-tool, messages-tool-dev, messages-lint, over one front end each, and the
#             page's module messages-lint-module over the lint core
#
# Only targets that this project builds count as edges; imported libraries (fast_float,
# libsodium) are left to the blocks' own files.

# The graph is kept in global properties, so the tests' folder reads the same declaration.
set_property(GLOBAL PROPERTY MT_GRAPH_NODES "")

# mt_block(<target> [<passed-on target>...] [PRIVATE <target>...]): one line of the graph.
function(mt_block name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "PRIVATE")
  set_property(GLOBAL APPEND PROPERTY MT_GRAPH_NODES ${name})
  set_property(GLOBAL PROPERTY MT_PASSES_ON_${name} ${arg_UNPARSED_ARGUMENTS})
  set_property(GLOBAL PROPERTY MT_MAY_LINK_${name} ${arg_UNPARSED_ARGUMENTS} ${arg_PRIVATE})
endfunction()

# mt_graph_nodes(<out>), mt_may_link(<target> <out>) and mt_passes_on(<target> <out>): the
# targets of the graph, what one of them links, and what of it it passes on.
function(mt_graph_nodes out)
  get_property(nodes GLOBAL PROPERTY MT_GRAPH_NODES)
  set(${out} ${nodes} PARENT_SCOPE)
endfunction()
function(mt_may_link node out)
  get_property(links GLOBAL PROPERTY MT_MAY_LINK_${node})
  set(${out} ${links} PARENT_SCOPE)
endfunction()
function(mt_passes_on node out)
  get_property(links GLOBAL PROPERTY MT_PASSES_ON_${node})
  set(${out} ${links} PARENT_SCOPE)
endfunction()

mt_block(mt_common)
mt_block(mt_hex mt_common)
mt_block(mt_messages mt_common)
mt_block(mt_feed_files mt_common)
mt_block(mt_outcome mt_common)
mt_block(mt_signature mt_common PRIVATE mt_hex)
mt_block(mt_lint mt_common mt_messages)
mt_block(mt_model_store mt_signature PRIVATE mt_hex)
mt_block(mt_verify_feed mt_messages PRIVATE mt_model_store mt_signature)
mt_block(mt_cli mt_common mt_outcome PRIVATE mt_feed_files mt_verify_feed)
mt_block(mt_lsp mt_lint PRIVATE mt_common mt_messages)
mt_block(mt_lint_cli mt_lint mt_outcome PRIVATE mt_feed_files mt_messages mt_lsp)
# The key objects (cmake/pubkey.cmake) define the key that the loader declares.
mt_block(models_pubkey PRIVATE mt_model_store)
mt_block(mt_dev_pubkey PRIVATE mt_model_store)
mt_block(messages-tool PRIVATE mt_cli models_pubkey)
mt_block(messages-tool-dev PRIVATE mt_cli mt_dev_pubkey)
mt_block(messages-lint PRIVATE mt_lint_cli)
# The authors' page's module (web/, made by the WebAssembly build only).
mt_block(messages-lint-module PRIVATE mt_lint mt_common mt_messages)
# The language server's module (src/messages-lint/wasm/, the WebAssembly build only).
mt_block(messages-lint-lsp-module PRIVATE mt_lsp)

# mt_block_links(<target> <all> <passed on>): the targets of this project that <target> links,
# and those of them it passes on.
function(mt_block_links target all_out passed_out)
  get_target_property(direct ${target} LINK_LIBRARIES)
  get_target_property(exported ${target} INTERFACE_LINK_LIBRARIES)
  set(all "")
  set(passed "")
  foreach(list_name IN ITEMS direct exported)
    if(NOT ${list_name})
      continue()
    endif()
    foreach(item IN LISTS ${list_name})
      # A static or object library lists its private links as $<LINK_ONLY:...> among its
      # exported ones: linked, not passed on.
      set(passes_on OFF)
      if(list_name STREQUAL "exported" AND NOT item MATCHES "^\\$<LINK_ONLY:")
        set(passes_on ON)
      endif()
      string(REGEX REPLACE "^\\$<LINK_ONLY:([^$<>]+)>$" "\\1" item "${item}")
      if(item MATCHES "^::@" OR NOT TARGET "${item}")
        continue()
      endif()
      get_target_property(imported ${item} IMPORTED)
      if(imported)
        continue()
      endif()
      list(APPEND all ${item})
      if(passes_on)
        list(APPEND passed ${item})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES all)
  list(REMOVE_DUPLICATES passed)
  set(${all_out} ${all} PARENT_SCOPE)
  set(${passed_out} ${passed} PARENT_SCOPE)
endfunction()

# mt_check_block_graph(): stops the configure when a target of the graph links a target that its
# line does not name, does not link one that it names, or passes one on otherwise than its line
# says. Targets this build does not make (the WebAssembly build makes only the lint core, the
# language server and their modules) are skipped.
function(mt_check_block_graph)
  set(problems "")
  mt_graph_nodes(nodes)
  foreach(node IN LISTS nodes)
    if(NOT TARGET ${node})
      continue()
    endif()
    mt_block_links(${node} actual actual_passed)
    mt_may_link(${node} allowed)
    mt_passes_on(${node} allowed_passed)
    foreach(target IN LISTS actual)
      if(NOT target IN_LIST allowed)
        string(APPEND problems "\n  ${node} links ${target}, which its line does not allow")
      elseif(target IN_LIST actual_passed AND NOT target IN_LIST allowed_passed)
        string(APPEND problems "\n  ${node} passes ${target} on (PUBLIC), which its line keeps PRIVATE")
      elseif(NOT target IN_LIST actual_passed AND target IN_LIST allowed_passed)
        string(APPEND problems "\n  ${node} keeps ${target} PRIVATE, which its line passes on")
      endif()
    endforeach()
    foreach(target IN LISTS allowed)
      if(TARGET ${target} AND NOT target IN_LIST actual)
        string(APPEND problems "\n  ${node} may link ${target} but does not: drop it from its line")
      endif()
    endforeach()
  endforeach()
  if(NOT problems STREQUAL "")
    message(FATAL_ERROR "The links differ from the block graph (src/block_graph.cmake):${problems}")
  endif()
endfunction()

# mt_block_reach(<target> <out>): the targets whose public headers <target>'s files may see: those
# it links, what they pass on, what those pass on, and so on.
function(mt_block_reach node out)
  set(reach "")
  mt_may_link(${node} queue)
  while(queue)
    list(POP_FRONT queue next)
    if(NOT next IN_LIST reach)
      list(APPEND reach ${next})
      mt_passes_on(${next} passed)
      list(APPEND queue ${passed})
    endif()
  endwhile()
  set(${out} ${reach} PARENT_SCOPE)
endfunction()
