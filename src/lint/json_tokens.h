// Finding the ends of JSON tokens in a document the reader has read up to a point: a string
// from its quotation mark, any value from its first byte, the white space between tokens.
// Used by the fixes to know what bytes a repair replaces (json_scan.h has what stands before a
// byte). Internal to the lint core.
#pragma once

#include <cstddef>
#include <string_view>

#include "messages/read_error.h"

namespace mt::lint {

// The first byte at or after `at` that ends plain string content: a `"`, a `\` or a control
// byte below 0x20; bytes.size() when there is none. One byte at a time: fixing is not on the
// reading path, which has its own vector scan.
std::size_t plain_end(std::string_view bytes, std::size_t at);

// One past the JSON string whose `"` is at `open`, or NO_OFFSET when none ends there (a raw
// control byte, the end of the bytes).
std::size_t string_end(std::string_view bytes, std::size_t open);

// One past the JSON value (string, number, literal, array, object) that begins at `at`, or
// NO_OFFSET when it is not well formed; nesting is bounded.
std::size_t value_end(std::string_view bytes, std::size_t at);

// The first byte at or after `at` that is not JSON white space (space, tab, LF, CR).
std::size_t skip_space(std::string_view bytes, std::size_t at);

}  // namespace mt::lint
