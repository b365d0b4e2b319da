// The source line a human report shows under a problem: a window of the line around the
// problem's first byte, and under it a caret line marking what the problem is about. Internal to
// the lint core.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mt::lint {

// The window of the source line around `offset` and the line under it with the caret, which
// stands under the first cell of the piece that holds the byte at `offset` and goes on under
// every piece that begins before `end`, up to the line's end or the window's (one cell at the
// least). Pieces are character clusters as the file holds them, tabs, and the escapes of what
// would break the line or drive the terminal and of bytes that are not UTF-8; cells are terminal
// cells.
struct Excerpt {
    std::string line;
    std::string caret;
};

Excerpt excerpt(std::string_view bytes, std::size_t offset, std::size_t end);

}  // namespace mt::lint
