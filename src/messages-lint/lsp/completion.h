// The lint core's completion at a place of a document as the protocol's CompletionList: each
// item writes over the bytes the core names (a text edit), as a snippet with places to type in
// for a client that takes snippets and as plain text for one that does not (Neovim 0.7's
// omnifunc, eglot without yasnippet), in the core's order.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>

#include "documents.h"
#include "lint/completion.h"
#include "position.h"

namespace mt::lsp {

nlohmann::json completion_list(const Document& document, std::size_t offset, const lint::CompletionOptions& options,
                               bool snippets, PositionEncoding encoding);

}  // namespace mt::lsp
