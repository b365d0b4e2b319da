#include "position.h"

#include <algorithm>

#include "common/utf8.h"

namespace mt::lsp {
namespace {

// The code units of `c` in `encoding`; a byte that begins no character counts as one unit.
std::size_t units(const Character& c, PositionEncoding encoding) {
    switch (encoding) {
        case PositionEncoding::utf8:
            return c.length;
        case PositionEncoding::utf16:
            return c.valid && c.value >= 0x10000 ? 2 : 1;
        case PositionEncoding::utf32:
            return 1;
    }
    return 1;
}

// Where the line that begins at lines.starts[line] ends, before its line end.
std::size_t content_end(std::string_view text, const LineIndex& lines, std::size_t line) {
    std::size_t end = line + 1 < lines.starts.size() ? lines.starts[line + 1] : text.size();
    if (end > lines.starts[line] && line + 1 < lines.starts.size()) {
        --end;  // the "\n" or lone "\r"
        if (text[end] == '\n' && end > lines.starts[line] && text[end - 1] == '\r') --end;
    }
    return end;
}

}  // namespace

std::string_view encoding_name(PositionEncoding encoding) {
    switch (encoding) {
        case PositionEncoding::utf8:
            return "utf-8";
        case PositionEncoding::utf16:
            return "utf-16";
        case PositionEncoding::utf32:
            return "utf-32";
    }
    return "utf-16";
}

PositionEncoding negotiate_encoding(std::span<const std::string> offered) {
    for (const std::string& name : offered) {
        for (const PositionEncoding e : {PositionEncoding::utf8, PositionEncoding::utf16, PositionEncoding::utf32})
            if (name == encoding_name(e)) return e;
    }
    return PositionEncoding::utf16;
}

LineIndex index_lines(std::string_view text) {
    LineIndex lines;
    lines.starts.push_back(0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            lines.starts.push_back(i + 1);
    }
    return lines;
}

Position position_of(std::string_view text, const LineIndex& lines, std::size_t offset, PositionEncoding encoding) {
    offset = std::min(offset, text.size());
    const auto after = std::upper_bound(lines.starts.begin(), lines.starts.end(), offset);
    const std::size_t line = static_cast<std::size_t>(after - lines.starts.begin()) - 1;
    std::size_t character = 0;
    for (std::size_t at = lines.starts[line]; at < offset;) {
        const Character c = first_character(text.substr(at));
        if (at + c.length > offset) break;
        character += units(c, encoding);
        at += c.length;
    }
    return Position{.line = line, .character = character};
}

std::size_t offset_of(std::string_view text, const LineIndex& lines, Position position, PositionEncoding encoding) {
    if (position.line >= lines.starts.size()) return text.size();
    const std::size_t end = content_end(text, lines, position.line);
    std::size_t at = lines.starts[position.line];
    for (std::size_t character = 0; at < end;) {
        const Character c = first_character(text.substr(at));
        character += units(c, encoding);
        if (character > position.character) break;
        at += c.length;
    }
    return at;
}

std::size_t next_character(std::string_view text, std::size_t offset) {
    if (offset >= text.size()) return text.size();
    return offset + first_character(text.substr(offset)).length;
}

}  // namespace mt::lsp
