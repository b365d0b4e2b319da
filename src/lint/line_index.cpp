#include "lint/line_index.h"

#include <algorithm>

#include "common/utf8.h"

namespace mt::lint {
namespace {

constexpr std::size_t ANCHOR_SPACING = 512;

std::size_t utf16_units(const Character& c) { return c.valid && c.value >= 0x10000 ? 2 : 1; }

}  // namespace

LineIndex::LineIndex(std::string_view text, LineEnds ends) : ends_(ends) {
    starts_.push_back(0);
    std::size_t code_points = 0, utf16 = 0, next_anchor = ANCHOR_SPACING;
    for (std::size_t at = 0; at < text.size();) {
        if (at >= next_anchor) {
            anchors_.push_back({at, code_points, utf16});
            next_anchor = at + ANCHOR_SPACING;
        }
        const unsigned char byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            ++at;
            const bool line_end =
                byte == '\n' || (byte == '\r' && ends == LineEnds::any && (at == text.size() || text[at] != '\n'));
            if (line_end) {
                starts_.push_back(at);
                code_points = utf16 = 0;
            } else {
                ++code_points;
                ++utf16;
            }
            continue;
        }
        const Character c = first_character(text.substr(at));
        at += c.length;
        ++code_points;
        utf16 += utf16_units(c);
    }
}

TextPosition LineIndex::position(std::string_view text, std::size_t offset, Unit unit) const {
    offset = std::min(offset, text.size());
    const std::size_t line =
        static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), offset) - starts_.begin()) - 1;
    std::size_t at = starts_[line], code_points = 0, utf16 = 0;
    const auto after = std::upper_bound(anchors_.begin(), anchors_.end(), offset,
                                        [](std::size_t o, const Anchor& a) { return o < a.offset; });
    if (after != anchors_.begin() && std::prev(after)->offset >= at) {
        const Anchor& anchor = *std::prev(after);
        at = anchor.offset;
        code_points = anchor.code_points;
        utf16 = anchor.utf16;
    }
    while (at < offset) {
        const Character c = first_character(text.substr(at));
        if (at + c.length > offset) break;  // the offset lies inside this character
        at += c.length;
        ++code_points;
        utf16 += utf16_units(c);
    }
    switch (unit) {
        case Unit::code_point:
            return {line, code_points};
        case Unit::utf16:
            return {line, utf16};
        case Unit::utf8:
            return {line, at - starts_[line]};
    }
    return {line, code_points};
}

std::size_t LineIndex::offset(std::string_view text, TextPosition position, Unit unit) const {
    if (position.line >= starts_.size()) return text.size();
    const std::size_t begin = starts_[position.line];
    std::size_t end = position.line + 1 < starts_.size() ? starts_[position.line + 1] : text.size();
    if (position.line + 1 < starts_.size()) {
        --end;  // the line feed, or a lone carriage return
        if (ends_ == LineEnds::any && text[end] == '\n' && end > begin && text[end - 1] == '\r') --end;
    }
    std::size_t at = begin;
    for (std::size_t character = 0; at < end;) {
        const Character c = first_character(text.substr(at));
        character += unit == Unit::utf8 ? c.length : unit == Unit::utf16 ? utf16_units(c) : 1;
        if (character > position.character) break;
        at += c.length;
    }
    return at;
}

}  // namespace mt::lint
