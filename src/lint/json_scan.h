// Where a byte of a JSON document stands: inside a string or not, inside which arrays and objects,
// after which key. The notes on a reading error look at the bytes around it with this; everything
// before the error has been read by the reader, so it is well-formed JSON up to there and a
// forward scan that only follows strings and brackets agrees with the reader. Internal to the
// lint core.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "messages/read_error.h"

namespace mt::lint {

// An open array or object. In an object, `value` says whether its current member is past its
// colon, and `key_begin`/`key_end` span that member's key, quotation marks included.
struct OpenBracket {
    char bracket = '{';  // '[' or '{'
    std::size_t offset = 0;
    std::size_t key_begin = NO_OFFSET;
    std::size_t key_end = NO_OFFSET;
    bool value = false;
};

struct ScanState {
    std::vector<OpenBracket> open;  // outermost first
    bool in_string = false;
    std::size_t string_begin = NO_OFFSET;  // the opening quotation mark of the string read last or being read
};

// The state just before byte `end` of `bytes`.
ScanState scan_until(std::string_view bytes, std::size_t end);

// The last byte before `offset` that is not JSON white space, NO_OFFSET when there is none.
std::size_t previous_token_end(std::string_view bytes, std::size_t offset);

// The key of the member whose value stands at or ends just before `offset` (past its colon,
// before the comma that ends it), as written between its quotation marks; none inside an array
// or outside any object, and none for a key with escapes (no field has one).
std::optional<std::string_view> key_before(std::string_view bytes, std::size_t offset);

// The field a reading error is about: the key of the value it stopped at. The one place that
// tells it from the bytes, for as long as the reader does not name the field itself.
std::optional<std::string_view> field_of(std::string_view document, const ReadError& error);

}  // namespace mt::lint
