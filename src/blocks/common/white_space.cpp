#include "common/white_space.h"

#include <cstdint>
#include <iterator>

#include "code_ranges.h"
#include "utf8_decode.h"

namespace mt {
namespace {

#include "white_space_tables.inc"

// Trimming looks at the first and last character of every title and body, so the common answers
// come without a search, both made from the table at compile time: the ASCII characters as a
// bit mask, and the widest stretch between two ranges, where the letters of most alphabets
// (Cyrillic among them) lie.
struct AsciiMask {
    std::uint64_t low = 0, high = 0;
};

constexpr AsciiMask ascii_white_space() {
    AsciiMask mask;
    for (const CodeRange& range : WHITE_SPACE_RANGES)
        for (char32_t c = range.first; c <= range.last && c < 0x80; ++c)
            (c < 64 ? mask.low : mask.high) |= std::uint64_t{1} << (c % 64);
    return mask;
}

constexpr CodeRange widest_gap() {
    CodeRange gap = {0, 0};
    for (std::size_t i = 1; i < std::size(WHITE_SPACE_RANGES); ++i) {
        const CodeRange between = {WHITE_SPACE_RANGES[i - 1].last + 1, WHITE_SPACE_RANGES[i].first - 1};
        if (between.last - between.first > gap.last - gap.first) gap = between;
    }
    return gap;
}

constexpr AsciiMask ASCII_WHITE_SPACE = ascii_white_space();
constexpr CodeRange NO_WHITE_SPACE = widest_gap();

}  // namespace

using utf8::decode;
using utf8::Decoded;

bool is_white_space(char32_t value) {
    if (value < 0x80) return (((value < 64 ? ASCII_WHITE_SPACE.low : ASCII_WHITE_SPACE.high) >> (value % 64)) & 1) != 0;
    if (value >= NO_WHITE_SPACE.first && value <= NO_WHITE_SPACE.last) return false;
    return in_ranges(value, WHITE_SPACE_RANGES);
}

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
