// Hover over a message: the lint core's summary of the message under the pointer (its
// Markdown, lint/hover.h), over the range of the whole message. Nothing (null) outside every
// message, or when the document does not read.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>

#include "documents.h"
#include "position.h"

namespace mt::lsp {

nlohmann::json hover(const Document& document, std::size_t offset, PositionEncoding encoding);

}  // namespace mt::lsp
