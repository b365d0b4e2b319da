#include "excerpt.h"

#include <algorithm>

#include "common/cells.h"
#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"

namespace mt::lint {
namespace {

// The source line is shown as a window of this many cells on either side of the caret, so a
// feed written on one line does not print 64 KiB per problem.
constexpr std::size_t WINDOW_CELLS = 50;
// Enough bytes before the caret for the window: wide characters take three bytes for two cells,
// and a line start further back than this is not looked for.
constexpr std::size_t LINE_SEARCH_BYTES = 4 * WINDOW_CELLS + 8;

bool is_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Whether the line ends at `pos`: a line feed, a carriage return before a line feed or at the
// end, or the end of the bytes. A carriage return anywhere else is shown, escaped.
bool at_line_end(std::string_view bytes, std::size_t pos) {
    if (pos >= bytes.size() || bytes[pos] == '\n') return true;
    return bytes[pos] == '\r' && (pos + 1 == bytes.size() || bytes[pos + 1] == '\n');
}

// One piece of a source line as the excerpt shows it: a character cluster as the file holds it,
// a tab, or the escape of a character that would break the line or drive the terminal, or of a
// byte that is not UTF-8.
struct Piece {
    std::string_view raw;  // the bytes it stands for
    std::string shown;
    std::size_t cells;
    bool tab;
};

Piece piece_at(std::string_view bytes, std::size_t pos) {
    const std::string_view rest = bytes.substr(pos);
    const Character c = first_character(rest);
    const std::string_view raw = rest.substr(0, c.length);
    if (!c.valid) {
        std::string shown = "\\x{";
        append_hex(shown, static_cast<unsigned char>(rest[0]), 2, HexLetters::lower);
        return {raw, shown + "}", 6, false};
    }
    if (c.value == U'\t') return {raw, "\t", 1, true};
    if (std::string escaped = escape_controls(raw); escaped != raw) {
        const std::size_t cells = escaped.size();  // an escape is ASCII
        return {raw, std::move(escaped), cells, false};
    }
    const Cluster cluster = first_cluster(rest);
    return {rest.substr(0, cluster.length), std::string(rest.substr(0, cluster.length)), cluster.cells, false};
}

}  // namespace

Excerpt excerpt(std::string_view bytes, std::size_t offset, std::size_t end) {
    offset = std::min(offset, bytes.size());
    // Where the line starts, if that is near enough to matter.
    const std::size_t floor = offset > LINE_SEARCH_BYTES ? offset - LINE_SEARCH_BYTES : 0;
    std::size_t line_start = floor;
    bool start_known = floor == 0;
    for (std::size_t i = offset; i > floor; --i)
        if (bytes[i - 1] == '\n') {
            line_start = i;
            start_known = true;
            break;
        }
    if (!start_known)
        for (int skip = 0; skip < 3 && line_start < offset && is_continuation(bytes[line_start]); ++skip) ++line_start;

    // The piece under the caret, and the cells of the pieces before it on the line.
    std::size_t caret_pos = line_start, before = 0;
    while (caret_pos < offset) {
        const Piece piece = piece_at(bytes, caret_pos);
        if (caret_pos + piece.raw.size() > offset) break;
        caret_pos += piece.raw.size();
        before += piece.cells;
    }
    // The window starts at the first piece from which at most WINDOW_CELLS cells lead to the caret.
    std::size_t from = line_start;
    while (before > WINDOW_CELLS) {
        const Piece piece = piece_at(bytes, from);
        from += piece.raw.size();
        before -= piece.cells;
    }

    Excerpt out;
    if (from > line_start || !start_known) {
        out.line += "…";
        out.caret += ' ';
    }
    for (std::size_t pos = from; pos < caret_pos;) {
        const Piece piece = piece_at(bytes, pos);
        pos += piece.raw.size();
        out.line += piece.shown;
        if (piece.tab)
            out.caret += '\t';
        else
            out.caret.append(piece.cells, ' ');
    }
    std::size_t pos = caret_pos, after = 0;
    while (!at_line_end(bytes, pos) && after <= WINDOW_CELLS) {
        const Piece piece = piece_at(bytes, pos);
        if (pos < end || pos == caret_pos) out.caret.append(std::max<std::size_t>(piece.cells, 1), '^');
        pos += piece.raw.size();
        out.line += piece.shown;
        after += piece.cells;
    }
    if (pos == caret_pos) out.caret += '^';  // at the end of a line: one caret after its last cell
    if (!at_line_end(bytes, pos)) out.line += "…";
    return out;
}

}  // namespace mt::lint
