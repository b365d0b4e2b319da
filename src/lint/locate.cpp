#include "locate.h"

#include "common/utf8.h"

namespace mt::lint {
namespace {

bool is_word_byte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '+' || c == '.';
}

}  // namespace

std::size_t end_of_line_before(std::string_view bytes, std::size_t offset) {
    if (offset == 0 || offset > bytes.size() || bytes[offset - 1] != '\n') return offset;
    const std::size_t line_feed = offset - 1;
    return line_feed > 0 && bytes[line_feed - 1] == '\r' ? line_feed - 1 : line_feed;
}

std::size_t token_end(std::string_view bytes, std::size_t offset) {
    if (offset >= bytes.size()) return offset;
    if (!is_word_byte(bytes[offset])) return offset + first_character(bytes.substr(offset)).length;
    std::size_t end = offset;
    while (end < bytes.size() && is_word_byte(bytes[end])) ++end;
    return end;
}

}  // namespace mt::lint
