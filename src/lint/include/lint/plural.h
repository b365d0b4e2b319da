// Russian plural forms of the words counted in notes, summaries and the page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mt::lint {

// "{n} {word}" with the Russian form of the word that goes with n: `one` for 1, 21, 101 ...,
// `few` for 2 to 4, 22 to 24 ..., `many` for the rest (5 to 20, 25 ...).
std::string count_of(std::size_t n, std::string_view one, std::string_view few, std::string_view many);

}  // namespace mt::lint
