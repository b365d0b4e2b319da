#include "locate.h"

#include <algorithm>

#include "common/utf8.h"

namespace mt::lint {
namespace {

// One offset to find, and where its line and column go.
struct Target {
    std::size_t offset;
    std::size_t* line;
    std::size_t* column;
};

bool is_word_byte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '+' || c == '.';
}

}  // namespace

void fill_lines_and_columns(std::string_view bytes, std::vector<Location*> locations) {
    std::vector<Target> targets;
    targets.reserve(2 * locations.size());
    for (Location* at : locations) {
        at->end = std::max(at->end, at->shown_offset());
        targets.push_back({at->shown_offset(), &at->line, &at->column});
        targets.push_back({at->end, &at->end_line, &at->end_column});
    }
    std::sort(targets.begin(), targets.end(), [](const Target& a, const Target& b) { return a.offset < b.offset; });
    std::size_t pos = 0, line = 1, column = 1;
    for (const Target& t : targets) {
        const std::size_t target = std::min(t.offset, bytes.size());
        while (pos < target) {
            if (bytes[pos] == '\n') {
                ++line;
                column = 1;
                ++pos;
                continue;
            }
            // Characters, not bytes; a byte that begins no valid character counts one.
            const std::size_t length =
                static_cast<unsigned char>(bytes[pos]) < 0x80 ? 1 : first_character(bytes.substr(pos)).length;
            if (pos + length > target) break;  // the target lies inside this character
            pos += length;
            ++column;
        }
        *t.line = line;
        *t.column = column;
    }
}

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
