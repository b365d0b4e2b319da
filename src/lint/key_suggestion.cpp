#include "key_suggestion.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/utf8.h"

namespace mt::lint {
namespace {

// Letters compared without regard to ASCII case.
std::u32string characters_of(std::string_view text) {
    std::u32string out;
    while (!text.empty()) {
        const Character c = first_character(text);
        out += c.value < 0x80 && c.value >= 'A' && c.value <= 'Z' ? c.value - 'A' + 'a' : c.value;
        text.remove_prefix(c.length);
    }
    return out;
}

std::size_t edit_distance(const std::u32string& a, const std::u32string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::optional<std::string_view> nearest_key(std::string_view unknown, std::span<const std::string_view> names) {
    const std::u32string wanted = characters_of(unknown);
    std::optional<std::string_view> best;
    std::size_t best_distance = 0;
    for (const std::string_view key : names) {
        const std::size_t distance = edit_distance(wanted, characters_of(key));
        const std::size_t allowed = std::max<std::size_t>(1, std::min<std::size_t>(2, key.size() / 3));
        if (distance <= allowed && (!best || distance < best_distance)) {
            best = key;
            best_distance = distance;
        }
    }
    return best;
}

}  // namespace mt::lint
