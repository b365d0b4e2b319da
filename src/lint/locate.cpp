#include "locate.h"

#include <algorithm>

#include "common/utf8.h"

namespace mt::lint {

void fill_lines_and_columns(std::string_view bytes, std::vector<Location*> locations) {
    std::sort(locations.begin(), locations.end(),
              [](auto* a, auto* b) { return a->shown_offset() < b->shown_offset(); });
    std::size_t pos = 0, line = 1, column = 1;
    for (Location* at : locations) {
        const std::size_t target = std::min(at->shown_offset(), bytes.size());
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
        at->line = line;
        at->column = column;
    }
}

std::size_t end_of_line_before(std::string_view bytes, std::size_t offset) {
    if (offset == 0 || offset > bytes.size() || bytes[offset - 1] != '\n') return offset;
    const std::size_t line_feed = offset - 1;
    return line_feed > 0 && bytes[line_feed - 1] == '\r' ? line_feed - 1 : line_feed;
}

}  // namespace mt::lint
