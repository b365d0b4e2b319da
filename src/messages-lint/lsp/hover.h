// Hover over a message: the lint core's summary of the message under the pointer (lint/hover.h,
// as Markdown or as plain text, as the client prefers), over the range of the whole message.
// Nothing (null) outside every message, or when the document does not read.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>

#include "documents.h"
#include "lint/hover.h"
#include "position.h"

namespace mt::lsp {

nlohmann::json hover(const Document& document, std::size_t offset, PositionEncoding encoding, lint::HoverFormat format);

}  // namespace mt::lsp
