#include "summarize_messages.h"

#include "common/digits.h"

namespace mt::lint {
namespace {

// Value positions of the message record, in the order of its fields (its array form).
constexpr std::size_t START_AT_FIELD = 4, END_AT_FIELD = 5;

// The text of a value as the document writes it.
std::string written(std::string_view document, const RecordLocations& at, std::size_t field) {
    if (field >= at.values.size()) return {};
    const Span span = at.values[field];
    if (span.begin == NO_OFFSET || span.end == NO_OFFSET || span.end > document.size()) return {};
    return std::string(document.substr(span.begin, span.end - span.begin));
}

}  // namespace

std::vector<MessageSummary> summarize_messages(std::string_view document, const Feed& feed, const FeedLocations& at,
                                               std::span<const TextCounts> counts) {
    std::vector<MessageSummary> out;
    out.reserve(feed.messages.size());
    for (std::size_t i = 0; i < feed.messages.size(); ++i) {
        const Message& m = feed.messages[i];
        const RecordLocations& where = at.messages[i];
        MessageSummary& s = out.emplace_back();
        s.index = i;
        s.begin = where.start;
        s.end = where.end;
        s.id = m.id;
        s.title = m.title;
        s.body = m.body;
        s.title_chars = counts[i].title_chars;
        s.body_chars = counts[i].body_chars;
        s.priority = m.priority;
        if (m.cta) s.cta = std::string(CTA_KIND_NAMES[static_cast<std::size_t>(m.cta->kind)]);
        s.start_at_text = written(document, where, START_AT_FIELD);
        s.end_at_text = written(document, where, END_AT_FIELD);
        s.start_at = signed_decimal(m.start_at);
        s.end_at = signed_decimal(m.end_at);
        s.min_version = m.minVersion;
        s.max_version = m.maxVersion;
    }
    return out;
}

}  // namespace mt::lint
