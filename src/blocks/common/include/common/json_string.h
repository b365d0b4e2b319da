// Writing a text as a JSON string.
#pragma once

#include <string>
#include <string_view>

namespace mt {

// Appends `text` as a JSON string: between quotation marks, with the quotation mark, the
// backslash and every byte below 0x20 escaped (\n \r \t, the others \u00xx), and the line
// separators that some readers split lines at (U+0085, U+2028, U+2029) written \u0085, \u2028,
// \u2029, so a JSON Lines record stays one line for them too. Other bytes are copied as they
// are, so valid UTF-8 gives valid JSON.
void append_json_string(std::string& out, std::string_view text);

}  // namespace mt
