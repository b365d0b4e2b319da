// How notes name a character: "U+" and at least four upper-case hexadecimal digits. Internal to
// the lint core.
#pragma once

#include <string>

#include "common/digits.h"

namespace mt::lint {

inline std::string code_point(char32_t value) {
    std::string out = "U+";
    append_hex(out, static_cast<std::uint32_t>(value), 4, HexLetters::upper);
    return out;
}

}  // namespace mt::lint
