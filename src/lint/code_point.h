// How notes name a character: "U+" and at least four upper-case hexadecimal digits. Internal to
// the lint core.
#pragma once

#include <string>

namespace mt::lint {

inline std::string code_point(char32_t value) {
    constexpr char DIGITS[] = "0123456789ABCDEF";
    std::string out = "U+";
    int shift = 12;
    while (shift < 20 && (value >> (shift + 4)) != 0) shift += 4;
    for (; shift >= 0; shift -= 4) out += DIGITS[(value >> shift) & 0xF];
    return out;
}

}  // namespace mt::lint
