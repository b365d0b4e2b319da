// The strict reader that maps a feed document (any bytes) onto a Feed, and where it found each
// value. It refuses unknown and repeated keys, checks every integer against its field's width,
// accepts the array form of each record, and says what went wrong and where as a ReadError.
#pragma once

#include <cstddef>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "messages/read_error.h"
#include "messages/records.h"

namespace mt {

// Bytes [begin, end) of a document; NO_OFFSET for what the document does not have.
struct Span {
    std::size_t begin = NO_OFFSET;
    std::size_t end = NO_OFFSET;
    friend bool operator==(const Span&, const Span&) = default;
};

// Where a record and each of its values stand in a document: `start` at the record's `{` or
// `[`, `end` just after its closing bracket (NO_OFFSET while it is unfinished), `values` in the
// order of the record's fields (the order of its array form), from a value's first byte to just
// after its last, an empty Span for a field the document leaves out.
struct RecordLocations {
    std::size_t start = NO_OFFSET;
    std::size_t end = NO_OFFSET;
    std::vector<Span> values;
};
struct FeedLocations {
    RecordLocations feed;
    std::vector<RecordLocations> messages;  // one per message read, in document order
};

// Reads a feed document. When `locations` is given, records where the feed, each message and
// each of their values stand (not inside a call to action); on failure it keeps what was read
// up to the error. Without it, nothing is recorded and nothing is paid for it.
std::expected<Feed, ReadError> parse_feed(std::string_view document, FeedLocations* locations = nullptr);

// Reads the one message whose `{` or `[` is at byte `start` of `document`, exactly as parse_feed
// reads each message of the list, and nothing after it: for a draft whose feed does not read as
// a whole, so that its messages that do are known. None when it does not read (why is the
// feed's reading to tell). `locations` gets where the message and its values stand in the whole
// document (its `end` just after its closing bracket).
std::optional<Message> parse_message(std::string_view document, std::size_t start, RecordLocations& locations);

// The text of the JSON string whose opening quotation mark is byte `start` of `document`,
// decoded exactly as the reader decodes every string; none when no string that reads begins
// there.
std::optional<std::string> read_string_at(std::string_view document, std::size_t start);

}  // namespace mt
