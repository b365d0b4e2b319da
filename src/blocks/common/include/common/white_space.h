// Trimming by the Unicode White_Space property (white_space_tables.inc, generated from the
// Unicode Character Database like the other character tables).
#pragma once

#include <string_view>

namespace mt {

bool is_white_space(char32_t value);

// JSON's own white space between tokens: space, tab, line feed, carriage return.
constexpr bool is_json_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// `text` without White_Space characters at either end; nothing inside is touched. Trimming
// stops at the first byte that does not begin a valid character.
std::string_view trim_white_space(std::string_view text);

}  // namespace mt
