// Where a byte of a document is on its lines, for every place that shows one: the reports'
// LINE:COLUMN, the language server's positions and the page's editor. Problems, spans and fixes
// carry byte offsets; lines and characters are counted here, at the edge, and nowhere else.
//
// A line ends at a line feed as the reader counts lines (a byte's line is 1 plus the line feeds
// before it), or also at "\r\n" and a lone "\r", as editors and the language protocol do. A
// character is counted in code points, UTF-16 code units or UTF-8 bytes; a byte that begins no
// valid character counts as one. An offset inside a character stands for the start of that
// character, and one past the end for the end.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace mt::lint {

enum class LineEnds { line_feed, any };

enum class Unit { code_point, utf16, utf8 };

// Both counted from 0: the line, and the units before the byte on its line.
struct TextPosition {
    std::size_t line = 0;
    std::size_t character = 0;
    friend bool operator==(const TextPosition&, const TextPosition&) = default;
};

// Made in one pass over the text, which each call is given again (the index keeps no pointer to
// it, so the text may move). A position costs a search and at most a few hundred characters,
// however long its line.
class LineIndex {
  public:
    LineIndex(std::string_view text, LineEnds ends);

    TextPosition position(std::string_view text, std::size_t offset, Unit unit) const;

    // The offset of `position`: a character past the end of its line stands for the line's end
    // (before its line end), a line past the last for the end of the text.
    std::size_t offset(std::string_view text, TextPosition position, Unit unit) const;

  private:
    // A character boundary with the units of its line before it, every so many bytes, so that a
    // position on a long line is counted from the nearest one rather than from the line's start.
    struct Anchor {
        std::size_t offset;
        std::size_t code_points;
        std::size_t utf16;
    };
    std::vector<std::size_t> starts_;  // the offset at which each line begins; the first is 0
    std::vector<Anchor> anchors_;
    LineEnds ends_;
};

}  // namespace mt::lint
