#include "common/white_space.h"

#include "utf8_decode.h"

namespace mt {

using utf8::decode;
using utf8::Decoded;

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
