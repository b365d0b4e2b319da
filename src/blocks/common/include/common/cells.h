// How many cells of a monospace terminal a text takes, for output that must line up under it
// (a caret under a column of a source line).
//
// The text is taken as character clusters: a character with the combining marks, joiners and
// variation selectors that continue it, an emoji zero-width-joiner sequence as a whole, a pair of
// regional indicators (a flag). A cluster takes the cells of its first character, except that an
// emoji presentation sequence (a character with an emoji style followed by U+FE0F) and a joined
// emoji sequence take two. A character takes two cells when it is East Asian Wide or Fullwidth or
// has emoji presentation, none when it is a combining mark, a joiner, a variation selector or
// otherwise default-ignorable (or a Hangul medial vowel or final consonant), one otherwise. The
// data is the Unicode Character Database's (cells_tables.inc). Controls take none: a caller that
// shows them writes them some other way and counts what it writes.
#pragma once

#include <cstddef>
#include <string_view>

namespace mt {

// The first cluster of non-empty `text`: its length in bytes and its cells. A byte that begins
// no valid character is a cluster of its own, one byte and one cell.
struct Cluster {
    std::size_t length;
    std::size_t cells;
};
Cluster first_cluster(std::string_view text);

}  // namespace mt
