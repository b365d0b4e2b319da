#include "lint/summary.h"

#include "common/digits.h"
#include "common/utf8.h"
#include "messages/messages.h"

namespace mt::lint {
namespace {

// Value positions of the message record, in the order of its fields (its array form).
constexpr std::size_t START_AT_FIELD = 4, END_AT_FIELD = 5;

// The number that begins at `offset`: the characters a JSON number is made of.
std::string number_text(std::string_view document, const RecordLocations& at, std::size_t field) {
    if (field >= at.values.size() || at.values[field] >= document.size()) return {};
    std::size_t end = at.values[field];
    while (end < document.size() && std::string_view("-+.eE0123456789").find(document[end]) != std::string_view::npos)
        ++end;
    return std::string(document.substr(at.values[field], end - at.values[field]));
}

}  // namespace

std::vector<MessageSummary> summarize_messages(std::string_view document) {
    FeedLocations at;
    const auto feed = read_feed_document(document, &at);
    if (!feed) return {};
    std::vector<MessageSummary> out;
    out.reserve(feed->messages.size());
    for (std::size_t i = 0; i < feed->messages.size(); ++i) {
        const Message& m = feed->messages[i];
        const RecordLocations& where = i < at.messages.size() ? at.messages[i] : RecordLocations{};
        MessageSummary& s = out.emplace_back();
        s.begin = where.start == NO_OFFSET ? 0 : where.start;
        s.id = m.id;
        s.title = m.title;
        s.body = m.body;
        s.title_chars = count_characters(m.title);
        s.body_chars = count_characters(m.body);
        s.priority = m.priority;
        if (m.cta) s.cta = std::string(CTA_KIND_NAMES[static_cast<std::size_t>(m.cta->kind)]);
        s.start_at_text = number_text(document, where, START_AT_FIELD);
        s.end_at_text = number_text(document, where, END_AT_FIELD);
        s.start_at = signed_decimal(m.start_at);
        s.end_at = signed_decimal(m.end_at);
        s.min_version = m.minVersion;
        s.max_version = m.maxVersion;
    }
    return out;
}

}  // namespace mt::lint
