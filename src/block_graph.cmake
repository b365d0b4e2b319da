# The block graph, written once: each block, program or key object, then the targets it may
# link. The configure stops when a target's links differ from its line (mt_check_block_graph),
# and the include-graph test (tests/include_graph) compiles a probe for every edge: a block's
# files see the public header of each block it links, directly or through what those export, and
# of no other (the include of any other fails to compile).
#
#   floor 0   mt_common (error values, text helpers)
#   floor 1   mt_hex, mt_messages (records, reader, rules), mt_feed_files (bounded reads),
#             mt_outcome (what a run prints)
#   floor 2   mt_signature (the Ed25519 gate), mt_lint (the authors' checker's core)
#   floor 3   mt_model_store (the embedded production key and its loader)
#   floor 4   mt_verify_feed (key, signature, then reader and rules)
#   floor 5   mt_cli (messages-tool's front end), mt_lint_cli (messages-lint's)
#   programs  messages-tool, messages-tool-dev, messages-lint, over one front end each, and the
#             page's module messages-lint-module over the lint core
#
# Only targets that this project builds count as edges; imported libraries (fast_float,
# libsodium) are left to the blocks' own files.

# The graph is kept in global properties, so the tests' folder reads the same declaration.
set_property(GLOBAL PROPERTY MT_GRAPH_NODES "")

# mt_block(<target> [<target it may link>...]): one line of the graph.
function(mt_block name)
  set_property(GLOBAL APPEND PROPERTY MT_GRAPH_NODES ${name})
  set_property(GLOBAL PROPERTY MT_MAY_LINK_${name} ${ARGN})
endfunction()

# mt_graph_nodes(<out>) and mt_may_link(<target> <out>): the targets of the graph, and what one
# of them may link.
function(mt_graph_nodes out)
  get_property(nodes GLOBAL PROPERTY MT_GRAPH_NODES)
  set(${out} ${nodes} PARENT_SCOPE)
endfunction()
function(mt_may_link node out)
  get_property(links GLOBAL PROPERTY MT_MAY_LINK_${node})
  set(${out} ${links} PARENT_SCOPE)
endfunction()

mt_block(mt_common)
mt_block(mt_hex mt_common)
mt_block(mt_messages mt_common)
mt_block(mt_feed_files mt_common)
mt_block(mt_outcome mt_common)
mt_block(mt_signature mt_common mt_hex)
mt_block(mt_lint mt_common mt_messages mt_feed_files)
mt_block(mt_model_store mt_signature mt_hex)
mt_block(mt_verify_feed mt_messages mt_model_store mt_signature)
mt_block(mt_cli mt_common mt_outcome mt_feed_files mt_verify_feed)
mt_block(mt_lint_cli mt_lint mt_outcome mt_feed_files)
# The key objects (cmake/pubkey.cmake) define the key that the loader declares.
mt_block(models_pubkey mt_model_store)
mt_block(mt_dev_pubkey mt_model_store)
mt_block(messages-tool mt_cli models_pubkey)
mt_block(messages-tool-dev mt_cli mt_dev_pubkey)
mt_block(messages-lint mt_lint_cli)
# The authors' page's module (web/, made by the WebAssembly build only).
mt_block(messages-lint-module mt_lint mt_common mt_messages mt_feed_files)

# mt_block_link_targets(<target> <out>): the targets of this project that <target> links, by any
# of PUBLIC, PRIVATE or INTERFACE.
function(mt_block_link_targets target out)
  get_target_property(direct ${target} LINK_LIBRARIES)
  get_target_property(exported ${target} INTERFACE_LINK_LIBRARIES)
  set(found "")
  if(NOT direct)
    set(direct "")
  endif()
  if(NOT exported)
    set(exported "")
  endif()
  foreach(item IN LISTS direct exported)
    # A static library lists its private links as $<LINK_ONLY:...> among its exported ones.
    string(REGEX REPLACE "^\\$<LINK_ONLY:([^$<>]+)>$" "\\1" item "${item}")
    if(item MATCHES "^::@" OR NOT TARGET "${item}")
      continue()
    endif()
    get_target_property(imported ${item} IMPORTED)
    if(NOT imported)
      list(APPEND found ${item})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# mt_check_block_graph(): stops the configure when a target of the graph links a target that its
# line does not name, or does not link one that it names. Targets this build does not make (the
# WebAssembly build makes four blocks) are skipped.
function(mt_check_block_graph)
  set(problems "")
  mt_graph_nodes(nodes)
  foreach(node IN LISTS nodes)
    if(NOT TARGET ${node})
      continue()
    endif()
    mt_block_link_targets(${node} actual)
    mt_may_link(${node} allowed)
    foreach(target IN LISTS actual)
      if(NOT target IN_LIST allowed)
        string(APPEND problems "\n  ${node} links ${target}, which its line does not allow")
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
# it may link and, again, what they may link.
function(mt_block_reach node out)
  set(reach "")
  mt_may_link(${node} queue)
  while(queue)
    list(POP_FRONT queue next)
    if(NOT next IN_LIST reach)
      list(APPEND reach ${next})
      mt_may_link(${next} links)
      list(APPEND queue ${links})
    endif()
  endwhile()
  set(${out} ${reach} PARENT_SCOPE)
endfunction()
