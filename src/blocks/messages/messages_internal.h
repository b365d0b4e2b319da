// Seams of the messages block for its tests, fuzzers and benchmarks; the product does not use
// them.
#pragma once

#include <cstddef>
#include <string_view>

#include "json_cursor.h"
#include "messages/messages.h"

namespace mt {

// parse_feed with another nesting budget, so that tests can reach the recursion limit.
Read<Feed> parse_feed_with_budget(std::string_view document, unsigned nesting_budget);

// The run of plain string content that starts at `from`: it ends at the first quotation mark,
// backslash or byte below 0x20, or at the end of `bytes`. `valid_utf8` true proves the run
// (and its stop byte) well-formed UTF-8; false proves nothing, and the caller checks.
struct PlainRun {
    std::size_t end;
    bool valid_utf8;
};

// Sixteen bytes at a time; what the reader uses.
PlainRun plain_run(std::string_view bytes, std::size_t from);

// What the length and control-character rules need from a valid UTF-8 text: its number of
// characters, and whether it holds a control character (U+0000..U+001F but the line feed,
// U+007F..U+009F).
struct TextFacts {
    std::size_t chars = 0;
    bool has_control = false;
    friend bool operator==(const TextFacts&, const TextFacts&) = default;
};

// In byte lanes that the compiler vectorises; what the rules use.
TextFacts examine_text(std::string_view text);

}  // namespace mt
