// The lint core's problems of a document as the protocol's diagnostics: the range from the
// problem's shown place to the end of its span (one character when the span is empty), error
// or warning, the rule's code, "messages-lint" as the source, the notes after the text, and the
// first occurrence of a repeated id or key as related information.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>

#include "documents.h"
#include "lint/problems.h"
#include "position.h"

namespace mt::lsp {

// The bytes a problem that marks `marked` is shown on: whole characters, and one character when
// it marks none.
Span span_of(const Document& document, Span marked);

// {"start": Position, "end": Position} of the bytes [begin, end).
nlohmann::json range_json(const Document& document, Span span, PositionEncoding encoding);

nlohmann::json diagnostic_json(const Document& document, const lint::Problem& problem, PositionEncoding encoding);

// The params of textDocument/publishDiagnostics for the document's current check.
nlohmann::json publish_params(const Document& document, PositionEncoding encoding);

}  // namespace mt::lsp
