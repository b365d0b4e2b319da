#include "position.h"

#include "common/utf8.h"

namespace mt::lsp {

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

lint::Unit unit_of(PositionEncoding encoding) {
    switch (encoding) {
        case PositionEncoding::utf8:
            return lint::Unit::utf8;
        case PositionEncoding::utf16:
            return lint::Unit::utf16;
        case PositionEncoding::utf32:
            return lint::Unit::code_point;
    }
    return lint::Unit::utf16;
}

lint::LineIndex index_lines(std::string_view text) { return lint::LineIndex(text, lint::LineEnds::any); }

std::size_t next_character(std::string_view text, std::size_t offset) {
    if (offset >= text.size()) return text.size();
    return offset + first_character(text.substr(offset)).length;
}

}  // namespace mt::lsp
