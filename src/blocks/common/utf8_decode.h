// The one UTF-8 decoder of the text helpers, shared by the files of this block. Internal.
#pragma once

#include <cstddef>
#include <string_view>

namespace mt::utf8 {

struct Decoded {
    char32_t value;
    std::size_t length;    // bytes of a valid character, 0 when invalid
    std::size_t consumed;  // bytes to skip: the character, or the maximal invalid subpart (>= 1)
};

// Decodes by the well-formed byte sequences of the Unicode standard, so overlong forms,
// surrogates and values above U+10FFFF are refused at the earliest byte that shows them.
inline Decoded decode(std::string_view bytes) {
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

}  // namespace mt::utf8
