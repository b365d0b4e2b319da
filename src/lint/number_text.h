// An integer written as a string, as a JSON number: what the note on it says to write and its
// fix writes, decided once. Internal to the lint core.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace mt::lint {

// The JSON integer `text` stands for: decimal digits (at most 20), a `-` before them allowed,
// leading zeros dropped (`"01"` is `1`, as JSON writes no leading zero). None for anything else.
inline std::optional<std::string> integer_from_text(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.size() > 20 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(std::min(text.find_first_not_of('0'), text.size() - 1));
    return (negative && text != "0" ? "-" : "") + std::string(text);
}

}  // namespace mt::lint
