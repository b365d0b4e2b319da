// The bytes of part of a draft read in a code page, for a note to quote. Internal to the lint core.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "lint/code_pages.h"

namespace mt::lint {

// The bytes [from, end) of `document` read in `page` as plausible_recodings reads the whole
// document (its UTF-8 Cyrillic words kept, when it has them).
std::string read_part(CodePage page, std::string_view document, std::size_t from, std::size_t end);

}  // namespace mt::lint
