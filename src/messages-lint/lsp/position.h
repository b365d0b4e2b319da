// Where a byte of a document is as a client counts it: a line (ended by "\n", "\r\n" or a lone
// "\r", as the protocol counts line ends) and a character within it, in the encoding agreed at
// initialize: UTF-8 bytes, UTF-16 code units or code points. Every position the server sends is
// computed from a byte offset the lint core gives, over the lint core's line index of the
// document's bytes (lint/line_index.h); every position a client sends becomes a byte offset the
// same way.
//
// The text is UTF-8 (it came in a JSON string). An offset inside a character stands for the
// start of that character; a position past the end of its line stands for the line's end, and
// one past the last line for the end of the document, as the protocol asks.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "lint/line_index.h"

namespace mt::lsp {

enum class PositionEncoding { utf8, utf16, utf32 };

// "utf-8", "utf-16", "utf-32", as the protocol names them.
std::string_view encoding_name(PositionEncoding encoding);

// The first encoding the client offers that the server knows; UTF-16 when it offers none.
PositionEncoding negotiate_encoding(std::span<const std::string> offered);

using Position = lint::TextPosition;

// What a client counts a line's characters in.
lint::Unit unit_of(PositionEncoding encoding);

// The index of a document's lines as the protocol ends them.
lint::LineIndex index_lines(std::string_view text);

// The offset one character after `offset` (the end of the text at most): the span of a problem
// whose own span is empty.
std::size_t next_character(std::string_view text, std::size_t offset);

}  // namespace mt::lsp
