#include "locate.h"

#include <algorithm>

#include "common/utf8.h"

namespace mt::lint {

void fill_lines_and_columns(std::string_view bytes, std::vector<Location*> locations) {
    std::sort(locations.begin(), locations.end(), [](auto* a, auto* b) { return a->offset < b->offset; });
    std::size_t pos = 0, line = 1, column = 1;
    for (Location* at : locations) {
        const std::size_t target = std::min(at->offset, bytes.size());
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

}  // namespace mt::lint
