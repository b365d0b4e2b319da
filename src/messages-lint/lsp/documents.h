// The documents a client has open: each one's text as UTF-8 bytes exactly as the client sent
// it, its version, its line index and the lint core's check of it, made again after every
// change. A change is the whole new text, or a range (in the agreed position encoding, over the
// text as it stands before that change) and the text that replaces it.
#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "lint/problems.h"
#include "position.h"

namespace mt::lsp {

struct Document {
    std::string uri;
    std::int64_t version = 0;
    std::string text;
    lint::LineIndex lines = index_lines({});
    lint::Check check;
};

// One content change: a range replaced, or with none the whole text.
struct Change {
    std::optional<Position> start;
    std::optional<Position> end;
    std::string text;
};

// Applies the change to the text and the line index (the check is left to check_document).
// A range whose end comes before its start is refused, and the text is left as it was.
std::expected<void, std::string> apply_change(Document& document, const Change& change, PositionEncoding encoding);

// Checks the document as the command line checks a file of those bytes: the name in a size
// problem is the path of a file: address, else the address itself.
void check_document(Document& document, const lint::CheckOptions& options);

// The file's path of a "file://" address (percent escapes decoded), or the address as it is.
std::string path_of(std::string_view uri);

}  // namespace mt::lsp
