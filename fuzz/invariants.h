// Checks that every fuzz target makes on every input. A broken invariant aborts, which
// libFuzzer reports as a crash together with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace mt::fuzz {

inline void require(bool holds, const char* what, std::string_view detail = {}) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s: %.*s\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

inline bool is_one_line(std::string_view text) {
    return !text.empty() && text.find('\n') == std::string_view::npos && text.find('\r') == std::string_view::npos;
}

inline bool starts_with(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

inline std::string_view as_text(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace mt::fuzz
