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

// The JSON integer a JSON number with a fraction or an exponent equals, when it equals one
// (`31.0` is `31`, `1e2` is `100`, `2.5e1` is `25`) and has at most 20 digits. None otherwise.
inline std::optional<std::string> integer_from_number(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    const std::size_t e = text.find_first_of("eE");
    const std::string_view mantissa = text.substr(0, e);
    long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = text.substr(e + 1);
        const bool minus = digits.starts_with('-');
        if (digits.starts_with('-') || digits.starts_with('+')) digits.remove_prefix(1);
        if (digits.empty() || digits.size() > 4 || digits.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        exponent = std::stol(std::string(digits)) * (minus ? -1 : 1);
    }
    const std::size_t dot = mantissa.find('.');
    std::string digits(mantissa.substr(0, dot));
    if (dot != std::string_view::npos) {
        digits += mantissa.substr(dot + 1);
        exponent -= static_cast<long>(mantissa.size() - dot - 1);
    }
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    for (; exponent < 0; ++exponent) {
        if (digits.back() != '0') return std::nullopt;
        digits.pop_back();
        if (digits.empty()) digits = "0";
    }
    if (exponent > 20) return std::nullopt;
    digits.append(static_cast<std::size_t>(exponent), '0');
    return integer_from_text((negative ? "-" : "") + digits);
}

}  // namespace mt::lint
