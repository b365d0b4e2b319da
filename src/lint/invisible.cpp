#include "invisible.h"

#include <algorithm>
#include <iterator>

#include "common/utf8.h"

namespace mt::lint {
namespace {

struct CodeRange {
    char32_t first;
    char32_t last;
};

#include "invisible_tables.inc"

}  // namespace

bool is_invisible(char32_t value) {
    const auto* it = std::upper_bound(std::begin(INVISIBLE_RANGES), std::end(INVISIBLE_RANGES), value,
                                      [](char32_t v, const CodeRange& r) { return v < r.first; });
    return it != std::begin(INVISIBLE_RANGES) && value <= (it - 1)->last;
}

bool is_all_invisible(std::string_view text) {
    if (text.empty()) return false;
    while (!text.empty()) {
        const Character c = first_character(text);
        if (!c.valid || !is_invisible(c.value)) return false;
        text.remove_prefix(c.length);
    }
    return true;
}

}  // namespace mt::lint
