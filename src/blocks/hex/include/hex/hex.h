// Hexadecimal decoding of key and signature texts.
//
// After trimming White_Space at both ends, a text must be pairs of hexadecimal digits of either
// case, high digit first, with nothing between them. Any bytes are accepted as input; the error
// texts are fixed, and callers in this program never show them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/error.h"

namespace mt {

// Errors: "нечётная длина hex-строки", "invalid digit found in string".
Result<std::vector<std::uint8_t>> decode_hex(std::string_view text);

// Errors: "ожидалось 64 hex-символа, получено {n}" ({n} bytes after trimming), then as decode_hex.
Result<std::array<std::uint8_t, 32>> decode_hex32(std::string_view text);

}  // namespace mt
