// From a rule failure to the value it is about, through the locations the reader recorded.
#include "messages/rules.h"
#include "record_shapes.h"

namespace mt {
namespace {

using reader::FEED_SHAPE;
using reader::MESSAGE_SHAPE;

// The key of the field a subject names (subjects are named after their keys); the count's
// subject is a whole message.
constexpr std::string_view subject_key(Subject subject) {
    switch (subject) {
        case Subject::schema:
            return "schema";
        case Subject::revision:
            return "revision";
        case Subject::message:
            return "";
        case Subject::id:
            return "id";
        case Subject::priority:
            return "priority";
        case Subject::title:
            return "title";
        case Subject::body:
            return "body";
        case Subject::start_at:
            return "start_at";
        case Subject::end_at:
            return "end_at";
        case Subject::minVersion:
            return "minVersion";
        case Subject::maxVersion:
            return "maxVersion";
    }
    return "";
}

constexpr bool subjects_are_fields() {
    for (Subject s : {Subject::schema, Subject::revision})
        if (FEED_SHAPE.index_of(subject_key(s)) == FEED_SHAPE.fields.size()) return false;
    for (Subject s : {Subject::id, Subject::priority, Subject::title, Subject::body, Subject::start_at, Subject::end_at,
                      Subject::minVersion, Subject::maxVersion})
        if (MESSAGE_SHAPE.index_of(subject_key(s)) == MESSAGE_SHAPE.fields.size()) return false;
    return true;
}
static_assert(subjects_are_fields());

Span value_at(const RecordLocations& record, std::size_t field) {
    return field < record.values.size() ? record.values[field] : Span{};
}

}  // namespace

Span value_span(const FeedLocations& locations, Subject subject, std::size_t message) {
    if (subject == Subject::schema || subject == Subject::revision)
        return value_at(locations.feed, FEED_SHAPE.index_of(subject_key(subject)));
    if (message >= locations.messages.size()) return {};
    const RecordLocations& record = locations.messages[message];
    if (subject == Subject::message) return {record.start, record.end};
    return value_at(record, MESSAGE_SHAPE.index_of(subject_key(subject)));
}

Span value_span(const FeedLocations& locations, const RuleFailure& failure) {
    return value_span(locations, failure.subject, failure.message);
}

}  // namespace mt
