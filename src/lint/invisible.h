// Characters that show nothing on their own: White_Space, format characters (Cf), default
// ignorable code points and grapheme extenders. A title of only such characters is not blank
// for the rules, yet the application shows nothing. Internal to the lint core.
#pragma once

#include <string_view>

namespace mt::lint {

bool is_invisible(char32_t value);

// Whether valid UTF-8 `text` is not empty and every character of it is invisible.
bool is_all_invisible(std::string_view text);

}  // namespace mt::lint
