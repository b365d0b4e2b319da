// The lint core's views of a document's draft as the protocol's answers: its outline as document
// symbols (nested, or flat for a client without nesting), its folding ranges, its selection
// ranges, the first occurrence of an id or key, an id's references, and the inlay hints of a
// range. Each is made afresh from the document's text, so it follows a draft that does not read.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <span>

#include "documents.h"
#include "lint/author_zone.h"
#include "position.h"

namespace mt::lsp {

nlohmann::json document_symbols(const Document& document, PositionEncoding encoding, bool nested);

nlohmann::json folding_ranges(const Document& document);

// One SelectionRange per offset, in their order.
nlohmann::json selection_ranges(const Document& document, std::span<const std::size_t> offsets,
                                PositionEncoding encoding);

// A Location, or null.
nlohmann::json definition(const Document& document, std::size_t offset, PositionEncoding encoding);

// The Locations of every message's id equal to the one at `offset`, the first one only with
// `with_first`.
nlohmann::json references(const Document& document, std::size_t offset, bool with_first, PositionEncoding encoding);

// The hints whose place lies in [range.begin, range.end], the times in `zone`.
nlohmann::json inlay_hints(const Document& document, Span range, const lint::AuthorZone& zone,
                           PositionEncoding encoding);

}  // namespace mt::lsp
