#include "common/white_space.h"

#include "code_ranges.h"
#include "utf8_decode.h"

namespace mt {
namespace {

#include "white_space_tables.inc"

}  // namespace

using utf8::decode;
using utf8::Decoded;

bool is_white_space(char32_t value) { return in_ranges(value, WHITE_SPACE_RANGES); }

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

}  // namespace mt
