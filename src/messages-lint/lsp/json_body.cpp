#include "json_body.h"

#include <cstdint>

namespace mt::lsp {
namespace {

// The code unit of the four hexadecimal digits at `at`, if they are four.
std::optional<std::uint16_t> hex_unit(std::string_view text, std::size_t at) {
    if (at + 4 > text.size()) return std::nullopt;
    std::uint16_t unit = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        const char c = text[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) return std::nullopt;
        unit = static_cast<std::uint16_t>(unit * 16 + digit);
    }
    return unit;
}

bool is_high(std::uint16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low(std::uint16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The \u escape at `at`, if there is one.
std::optional<std::uint16_t> escape_at(std::string_view text, std::size_t at) {
    if (at + 1 >= text.size() || text[at] != '\\' || text[at + 1] != 'u') return std::nullopt;
    return hex_unit(text, at + 2);
}

}  // namespace

std::optional<std::string> without_lone_surrogates(std::string_view body) {
    std::string out;
    std::size_t copied = 0;
    // Escapes are read in order from each backslash, so the "u" after an escaped backslash
    // ("\\u") is never taken for an escape.
    for (std::size_t at = body.find('\\'); at != std::string_view::npos; at = body.find('\\', at)) {
        const std::optional<std::uint16_t> unit = escape_at(body, at);
        if (!unit) {
            at += 2;
            continue;
        }
        if (is_high(*unit)) {
            if (const auto next = escape_at(body, at + 6); next && is_low(*next)) {
                at += 12;
                continue;
            }
        } else if (!is_low(*unit)) {
            at += 6;
            continue;
        }
        out.append(body.substr(copied, at - copied));
        out += "\\uFFFD";
        at += 6;
        copied = at;
    }
    if (copied == 0) return std::nullopt;
    out.append(body.substr(copied));
    return out;
}

nlohmann::json read_body(std::string_view body) {
    if (const std::optional<std::string> mended = without_lone_surrogates(body))
        return nlohmann::json::parse(*mended, nullptr, false);
    return nlohmann::json::parse(body, nullptr, false);
}

}  // namespace mt::lsp
