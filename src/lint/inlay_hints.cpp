#include "lint/inlay_hints.h"

#include <charconv>
#include <cstdint>

#include "common/digits.h"
#include "common/utf8.h"
#include "draft_tree.h"
#include "messages/records.h"
#include "time_text.h"

namespace mt::lint {
namespace {

// How close to its limit a text's length is shown.
constexpr std::size_t NEAR_LIMIT = 10;

// The hint of a message's field `key` whose value is `value`, if it has one.
void add_hint(std::string_view document, std::string_view key, const Node& value, const AuthorZone& zone,
              std::vector<InlayHint>& out) {
    if ((key == "start_at" || key == "end_at") && value.token == TokenKind::number) {
        const std::string_view text = document.substr(value.span.begin, value.span.end - value.span.begin);
        std::int64_t seconds = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
        // Beyond the dates a time value may stand for, there is no date to show beside it.
        if (error == std::errc{} && end == text.data() + text.size() && seconds <= MAX_DATED_SECONDS &&
            seconds >= -MAX_DATED_SECONDS)
            out.push_back({HintKind::time, value.span.end, wall_text(seconds, zone), false});
    } else if ((key == "title" || key == "body") && value.token == TokenKind::string) {
        const std::size_t limit = key == "title" ? MAX_TITLE_CHARS : MAX_BODY_CHARS;
        const std::size_t chars = count_characters(token_text(document, value.span));
        if (chars + NEAR_LIMIT >= limit)
            out.push_back({HintKind::length, value.span.end, decimal(chars) + "/" + decimal(limit), chars > limit});
    }
}

}  // namespace

std::vector<InlayHint> inlay_hints(const DraftView& draft, const AuthorZone& zone) {
    const DraftValues& d = draft.values();
    std::vector<InlayHint> out;
    const std::uint32_t list = message_list(d.document, d.tree);
    if (list == NO_NODE) return out;
    for (std::uint32_t r = d.at(list).first; r != NO_NODE; r = d.at(r).next) {
        const Node& record = d.at(r);
        std::size_t element = 0;
        for (std::uint32_t f = record.first; f != NO_NODE; f = d.at(f).next, ++element) {
            if (record.kind == NodeKind::object && d.at(f).value != NO_NODE)
                add_hint(d.document, token_text(d.document, d.at(f).key), d.at(d.at(f).value), zone, out);
            else if (record.kind == NodeKind::array)
                add_hint(d.document, message_field(element), d.at(f), zone, out);
        }
    }
    return out;
}

}  // namespace mt::lint
