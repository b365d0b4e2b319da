#include "json_tokens.h"

namespace mt::lint {
namespace {

// The format nests five deep; a value deeper than this is not one a fix needs to step over.
constexpr int MAX_DEPTH = 16;

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::size_t value_end_at_depth(std::string_view bytes, std::size_t at, int depth) {
    if (at >= bytes.size() || depth > MAX_DEPTH) return NO_OFFSET;
    const char c = bytes[at];
    if (c == '"') return string_end(bytes, at);
    if (c == '{' || c == '[') {
        const char close = c == '{' ? '}' : ']';
        std::size_t pos = skip_space(bytes, at + 1);
        if (pos < bytes.size() && bytes[pos] == close) return pos + 1;
        for (;;) {
            if (c == '{') {
                pos = string_end(bytes, pos);
                if (pos == NO_OFFSET) return NO_OFFSET;
                pos = skip_space(bytes, pos);
                if (pos >= bytes.size() || bytes[pos] != ':') return NO_OFFSET;
                pos = skip_space(bytes, pos + 1);
            }
            pos = value_end_at_depth(bytes, pos, depth + 1);
            if (pos == NO_OFFSET) return NO_OFFSET;
            pos = skip_space(bytes, pos);
            if (pos >= bytes.size()) return NO_OFFSET;
            if (bytes[pos] == close) return pos + 1;
            if (bytes[pos] != ',') return NO_OFFSET;
            pos = skip_space(bytes, pos + 1);
        }
    }
    // A number or a literal: the run of bytes that can make one.
    std::size_t end = at;
    while (end < bytes.size() &&
           ((bytes[end] >= '0' && bytes[end] <= '9') || (bytes[end] >= 'a' && bytes[end] <= 'z') || bytes[end] == '-' ||
            bytes[end] == '+' || bytes[end] == '.' || bytes[end] == 'E'))
        ++end;
    return end > at ? end : NO_OFFSET;
}

}  // namespace

std::size_t plain_end(std::string_view bytes, std::size_t at) {
    while (at < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[at]);
        if (c < 0x20 || c == '"' || c == '\\') break;
        ++at;
    }
    return at;
}

std::size_t string_end(std::string_view bytes, std::size_t open) {
    if (open >= bytes.size() || bytes[open] != '"') return NO_OFFSET;
    for (std::size_t pos = plain_end(bytes, open + 1); pos < bytes.size(); pos = plain_end(bytes, pos + 2)) {
        if (bytes[pos] == '"') return pos + 1;
        if (bytes[pos] != '\\') return NO_OFFSET;
    }
    return NO_OFFSET;
}

std::size_t value_end(std::string_view bytes, std::size_t at) { return value_end_at_depth(bytes, at, 0); }

std::size_t skip_space(std::string_view bytes, std::size_t at) {
    while (at < bytes.size() && is_space(bytes[at])) ++at;
    return at;
}

}  // namespace mt::lint
