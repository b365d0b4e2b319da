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

// The optimal string alignment distance: insertions, deletions, substitutions and the
// transposition of two neighbours (`titel`, `bdoy`) each count one.
std::size_t edit_distance(const std::u32string& a, const std::u32string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// Names other formats give what a key of the feed holds.
struct Synonym {
    std::string_view other;
    std::string_view key;
};
constexpr Synonym SYNONYMS[] = {{"type", "kind"}};

}  // namespace

std::optional<std::string_view> nearest_key(std::string_view unknown, std::span<const std::string_view> names) {
    const std::u32string wanted = characters_of(unknown);
    for (const Synonym& synonym : SYNONYMS)
        if (wanted == characters_of(synonym.other))
            for (const std::string_view key : names)
                if (key == synonym.key) return key;
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
