// The feed rules and the message rules: what a feed that reads must also meet. Each failure is
// a value that says which rule failed, on which value, and what the rule measured, so that a
// program lists and explains the failures without counting anything again; the one-line text
// feed acceptance gives is made from it by failure_text.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "messages/reading.h"
#include "messages/records.h"

namespace mt {

// Control characters as the title and body rule knows them: U+0000..U+001F but the line feed,
// and U+007F..U+009F.
bool is_control_character(char32_t value);

// A version "major.minor.patch" of three unsigned 64-bit decimal parts without leading zeros.
struct Version {
    std::uint64_t major = 0;
    std::uint64_t minor = 0;
    std::uint64_t patch = 0;
    friend auto operator<=>(const Version&, const Version&) = default;
};
std::optional<Version> parse_version(std::string_view text);

// The rules, in the order they are applied: three on the feed, then nine on each message.
enum class Rule {
    schema,
    revision,
    count,
    id,
    priority,
    title_length,
    body_length,
    empty_text,
    control_character,
    time_window,
    version,
    version_order,
    duplicate_id,
};

// The value a rule failure is about.
enum class Subject { schema, revision, message, id, priority, title, body, start_at, end_at, minVersion, maxVersion };

struct RuleFailure {
    Rule rule = Rule::schema;
    Subject subject = Subject::schema;
    std::size_t message = NO_MESSAGE;  // index of the message it is about; NO_MESSAGE for schema, revision
    std::size_t earlier = NO_MESSAGE;  // duplicate_id: index of the first message with that id
    std::size_t measured = 0;          // title_length, body_length: the characters counted
    char32_t control = 0;              // control_character: the first control character
    friend bool operator==(const RuleFailure&, const RuleFailure&) = default;
};

// What the length rules counted in each message: its title's and body's characters.
struct TextCounts {
    std::size_t title_chars = 0;
    std::size_t body_chars = 0;
    friend bool operator==(const TextCounts&, const TextCounts&) = default;
};

// The failures of `feed`, at most `limit` of them: every failing feed rule, then every failing
// rule of every message in document order, each message's rules in their order (a rule on two
// values, such as the title and the body, fails once per value). The count failure is about the
// first message past the limit. The first failure is the one feed acceptance reports. When
// `counts` is given, it gets the counts of every message the walk reached.
std::vector<RuleFailure> find_rule_failures(const Feed& feed, std::size_t limit = NO_MESSAGE,
                                            std::vector<TextCounts>* counts = nullptr);

// The text feed acceptance gives for `failure` of `feed`: "messages: title длиннее 80 символов
// (id "promo")".
std::string failure_text(const Feed& feed, const RuleFailure& failure);

// Where the value a failure is about stands, from the locations recorded while reading the
// same document (the whole message for the count); an empty Span when it was not recorded.
Span value_span(const FeedLocations& locations, const RuleFailure& failure);

// The same for a subject of the message at `message` (ignored for schema and revision).
Span value_span(const FeedLocations& locations, Subject subject, std::size_t message);

}  // namespace mt
