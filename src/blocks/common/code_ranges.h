// Sorted, disjoint ranges of code points, as the generated character tables list them, and the
// lookup in them. Internal to the text helpers.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace mt {

struct CodeRange {
    char32_t first;
    char32_t last;
};

template <std::size_t N>
bool in_ranges(char32_t value, const CodeRange (&ranges)[N]) {
    const CodeRange* it = std::upper_bound(std::begin(ranges), std::end(ranges), value,
                                           [](char32_t v, const CodeRange& r) { return v < r.first; });
    return it != std::begin(ranges) && value <= (it - 1)->last;
}

}  // namespace mt
