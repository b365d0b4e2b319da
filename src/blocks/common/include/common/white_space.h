// Trimming by the Unicode White_Space property (U+0009..U+000D, U+0020, U+0085, U+00A0,
// U+1680, U+2000..U+200A, U+2028, U+2029, U+202F, U+205F, U+3000).
#pragma once

#include <string_view>

namespace mt {

bool is_white_space(char32_t value);

// `text` without White_Space characters at either end; nothing inside is touched. Trimming
// stops at the first byte that does not begin a valid character.
std::string_view trim_white_space(std::string_view text);

}  // namespace mt
