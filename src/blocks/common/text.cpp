#include "common/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

namespace mt {
namespace {

struct CodeRange {
    char32_t first;
    char32_t last;
};

#include "common/unicode_tables.inc"

struct Decoded {
    char32_t value;
    std::size_t length;    // bytes of a valid character, 0 when invalid
    std::size_t consumed;  // bytes to skip: the character, or the maximal invalid subpart (>= 1)
};

// Decodes by the well-formed byte sequences of the Unicode standard, so overlong forms,
// surrogates and values above U+10FFFF are refused at the earliest byte that shows them.
Decoded decode(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return {lead, 1, 1};

    std::size_t need;
    unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
    char32_t value;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        value = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        value = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {0, 0, 1};
    }
    for (std::size_t i = 1; i <= need; ++i) {
        if (i >= bytes.size()) return {0, 0, i};
        const unsigned char next = byte(i);
        if (next < low || next > high) return {0, 0, i};
        value = (value << 6) | (next & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {value, need + 1, need + 1};
}

bool in_ranges(char32_t value, const CodeRange* begin, const CodeRange* end) {
    const CodeRange* it =
        std::upper_bound(begin, end, value, [](char32_t v, const CodeRange& r) { return v < r.first; });
    return it != begin && value <= (it - 1)->last;
}

// Whether the quoted form writes `value` as an escape (the space excepted).
bool needs_escape(char32_t value) {
    if (value == U' ') return false;
    return in_ranges(value, std::begin(ESCAPED_RANGES), std::end(ESCAPED_RANGES));
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
        char digits[8];
        const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<std::uint32_t>(value), 16).ptr;
        out += "\\u{";
        out.append(digits, end);
        out += '}';
    }
}

// Length of the longest prefix of `bytes` that is valid UTF-8.
std::size_t valid_utf8_prefix(std::string_view bytes) {
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        // ASCII runs are the common case in feeds; skip them without the full decoder.
        if (static_cast<unsigned char>(bytes[offset]) < 0x80) {
            ++offset;
            continue;
        }
        const Decoded d = decode(bytes.substr(offset));
        if (!d.length) break;
        offset += d.length;
    }
    return offset;
}

}  // namespace

bool is_valid_utf8(std::string_view bytes) { return valid_utf8_prefix(bytes) == bytes.size(); }

void append_utf8(std::string& out, char32_t value) {
    if (value < 0x80) {
        out += static_cast<char>(value);
    } else if (value < 0x800) {
        out += static_cast<char>(0xC0 | (value >> 6));
        out += static_cast<char>(0x80 | (value & 0x3F));
    } else if (value < 0x10000) {
        out += static_cast<char>(0xE0 | (value >> 12));
        out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (value & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (value >> 18));
        out += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (value & 0x3F));
    }
}

Character first_character(std::string_view bytes) {
    const Decoded d = decode(bytes);
    if (!d.length) return {U'\uFFFD', 1, false};
    return {d.value, d.length, true};
}

std::size_t count_characters(std::string_view bytes) {
    std::size_t count = 0;
    for (std::size_t offset = 0; offset < bytes.size(); ++count) {
        // ASCII, the common case, needs no decoder.
        if (static_cast<unsigned char>(bytes[offset]) < 0x80)
            ++offset;
        else
            offset += first_character(bytes.substr(offset)).length;
    }
    return count;
}

std::string decode_utf8_lossy(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const Decoded d = decode(bytes);
        if (d.length)
            out.append(bytes.data(), d.length);
        else
            append_utf8(out, U'\uFFFD');
        bytes.remove_prefix(d.consumed);
    }
    return out;
}

namespace {

// The characters with the Unicode White_Space property.
bool is_white_space(char32_t value) {
    switch (value) {
        case 0x09:
        case 0x0A:
        case 0x0B:
        case 0x0C:
        case 0x0D:
        case 0x20:
        case 0x85:
        case 0xA0:
        case 0x1680:
        case 0x2028:
        case 0x2029:
        case 0x202F:
        case 0x205F:
        case 0x3000:
            return true;
        default:
            return value >= 0x2000 && value <= 0x200A;
    }
}

}  // namespace

std::string_view trim_white_space(std::string_view text) {
    while (!text.empty()) {
        const Decoded d = decode(text);
        if (!d.length || !is_white_space(d.value)) break;
        text.remove_prefix(d.length);
    }
    // From the end: step back over continuation bytes to the start of the last character.
    while (!text.empty()) {
        std::size_t start = text.size() - 1;
        while (start > 0 && text.size() - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
            --start;
        const Decoded d = decode(text.substr(start));
        if (d.length != text.size() - start || !is_white_space(d.value)) break;
        text.remove_suffix(d.length);
    }
    return text;
}

void append_decimal(std::string& out, std::uint64_t value) {
    char digits[20];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

std::string decimal(std::uint64_t value) {
    std::string out;
    append_decimal(out, value);
    return out;
}

int hex_digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

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

void append_json_string(std::string& out, std::string_view text) {
    constexpr char HEX[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += "\\u00";
                    out += HEX[static_cast<unsigned char>(c) >> 4];
                    out += HEX[c & 0xF];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

}  // namespace mt
