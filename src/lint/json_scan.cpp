#include "json_scan.h"

namespace mt::lint {

ScanState scan_until(std::string_view bytes, std::size_t end) {
    ScanState state;
    end = std::min(end, bytes.size());
    for (std::size_t i = 0; i < end; ++i) {
        const char c = bytes[i];
        if (state.in_string) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                state.in_string = false;
                if (!state.open.empty() && state.open.back().bracket == '{' && !state.open.back().value) {
                    state.open.back().key_begin = state.string_begin;
                    state.open.back().key_end = i + 1;
                }
            }
            continue;
        }
        switch (c) {
            case '"':
                state.in_string = true;
                state.string_begin = i;
                break;
            case '{':
            case '[':
                state.open.emplace_back();
                state.open.back().bracket = c;
                state.open.back().offset = i;
                break;
            case '}':
            case ']':
                if (!state.open.empty()) state.open.pop_back();
                break;
            case ':':
                if (!state.open.empty()) state.open.back().value = true;
                break;
            case ',':
                if (!state.open.empty()) {
                    OpenBracket& top = state.open.back();
                    top.value = false;
                    top.key_begin = top.key_end = NO_OFFSET;
                }
                break;
            default:
                break;
        }
    }
    return state;
}

std::size_t previous_token_end(std::string_view bytes, std::size_t offset) {
    for (std::size_t i = std::min(offset, bytes.size()); i > 0; --i) {
        const char c = bytes[i - 1];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return i - 1;
    }
    return NO_OFFSET;
}

std::optional<std::string_view> key_before(std::string_view bytes, std::size_t offset) {
    const ScanState state = scan_until(bytes, offset);
    if (state.open.empty()) return std::nullopt;
    const OpenBracket& top = state.open.back();
    if (top.bracket != '{' || !top.value || top.key_begin == NO_OFFSET) return std::nullopt;
    const std::string_view key = bytes.substr(top.key_begin + 1, top.key_end - top.key_begin - 2);
    if (key.find('\\') != std::string_view::npos) return std::nullopt;
    return key;
}

std::optional<std::string_view> field_of(std::string_view document, const ReadError& error) {
    return key_before(document, error.value_offset != NO_OFFSET ? error.value_offset : error.offset);
}

}  // namespace mt::lint
