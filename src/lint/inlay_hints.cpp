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

}  // namespace

std::vector<InlayHint> inlay_hints(const DraftView& draft, const AuthorZone& zone) {
    const std::string_view document = draft.document();
    const DraftTree& tree = draft.values().tree;
    std::vector<InlayHint> out;
    for (const Node& member : tree.nodes) {
        if (member.kind != NodeKind::member || member.value == NO_NODE) continue;
        const Node& value = tree.nodes[member.value];
        if (value.kind != NodeKind::scalar) continue;
        if (place_of(document, tree, member.parent) != Place::message) continue;
        const std::string key = token_text(document, member.key);
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
    return out;
}

}  // namespace mt::lint
