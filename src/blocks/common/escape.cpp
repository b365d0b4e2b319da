#include "common/escape.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "code_ranges.h"
#include "common/digits.h"
#include "common/utf8.h"
#include "utf8_decode.h"

namespace mt {
namespace {

using utf8::decode;
using utf8::Decoded;

#include "unicode_tables.inc"

// Whether the quoted form writes `value` as an escape (the space excepted).
bool needs_escape(char32_t value) {
    if (value == U' ') return false;
    return in_ranges(value, ESCAPED_RANGES);
}

// Whether `value` would end a line or steer a terminal or the direction of the text: C0 and C1
// controls, DEL, the line and paragraph separators and the bidirectional controls.
bool breaks_line_or_terminal(char32_t value) {
    if (value < 0x20 || (value >= 0x7F && value <= 0x9F)) return true;
    switch (value) {
        case 0x061C:
        case 0x200E:
        case 0x200F:
        case 0x2028:
        case 0x2029:
            return true;
        default:
            return (value >= 0x202A && value <= 0x202E) || (value >= 0x2066 && value <= 0x2069);
    }
}

// Appends `text` with the characters that `escaped` picks written as escapes; `quote_marks`

// also escapes `"` and `\`.
void append_escaped(std::string& out, std::string_view text, bool quote_marks, bool (*escaped)(char32_t)) {
    while (!text.empty()) {
        const Decoded d = decode(text);
        const char32_t value = d.length ? d.value : U'\uFFFD';
        const std::string_view raw = text.substr(0, d.consumed);
        text.remove_prefix(d.consumed);
        if (!d.length) {
            append_utf8(out, value);
            continue;
        }
        switch (value) {
            case U'"':
                out += quote_marks ? "\\\"" : "\"";
                continue;
            case U'\\':
                out += quote_marks ? "\\\\" : "\\";
                continue;
            case U'\0':
                out += "\\0";
                continue;
            case U'\t':
                out += "\\t";
                continue;
            case U'\n':
                out += "\\n";
                continue;
            case U'\r':
                out += "\\r";
                continue;
            default:
                break;
        }
        if (!escaped(value)) {
            out += raw;
            continue;
        }
        out += "\\u{";
        append_hex(out, static_cast<std::uint32_t>(value), 1, HexLetters::lower);
        out += '}';
    }
}

}  // namespace

std::string quoted_form(std::string_view text) {
    std::string out = "\"";
    append_escaped(out, text, true, needs_escape);
    out += '"';
    return out;
}

std::string escape_unprintable(std::string_view text) {
    std::string out;
    append_escaped(out, text, false, needs_escape);
    return out;
}

std::string escape_controls(std::string_view text) {
    std::string out;
    append_escaped(out, text, false, breaks_line_or_terminal);
    return out;
}

}  // namespace mt
