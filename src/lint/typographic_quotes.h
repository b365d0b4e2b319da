// The quotation marks of typesetting and of word processors' automatic replacement, written
// once for the note that names them and the fix that replaces them. Internal to the lint core.
#pragma once

#include <string_view>

namespace mt::lint {

// A typographic opening mark and the marks that close a string it opens: the pair of its
// typography, and the same mark for those who type one mark on both sides.
struct QuotePair {
    char32_t open;
    std::u32string_view closers;
};
inline constexpr QuotePair QUOTE_PAIRS[] = {
    {U'\u201C', U"\u201D\u201C"}, {U'\u201D', U"\u201D"}, {U'\u201E', U"\u201C\u201D"},
    {U'\u201F', U"\u201D\u201F"}, {U'\u00AB', U"\u00BB"}, {U'\u00BB', U"\u00AB\u00BB"},
    {U'\u2018', U"\u2019\u2018"}, {U'\u2019', U"\u2019"}, {U'\u201A', U"\u2018\u2019"},
    {U'\u201B', U"\u2019\u201B"}, {U'\u2039', U"\u203A"}, {U'\u203A', U"\u2039\u203A"},
    {U'\uFF02', U"\uFF02"},       {U'\u2033', U"\u2033"},
};

inline const QuotePair* quote_pair(char32_t c) {
    for (const QuotePair& pair : QUOTE_PAIRS)
        if (pair.open == c) return &pair;
    return nullptr;
}

inline bool is_typographic_quote(char32_t c) { return quote_pair(c) != nullptr; }

}  // namespace mt::lint
