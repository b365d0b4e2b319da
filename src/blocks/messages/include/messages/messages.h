// The message feed: its records, the strict JSON reader that maps a feed document onto them,
// the feed and message rules, and feed acceptance.
//
// `verify_feed` is the one operation the checking tool needs: it authenticates the exact bytes
// with the compiled-in key, then reads them and holds the feed and every message to the fixed
// rules, stopping at the first failure. The records are plain values that own all their data.
// Reading and rules are also offered without authentication, for programs that check a draft
// before it is signed; they give exactly the texts that verify_feed gives after a good signature.
#pragma once

#include <array>
#include <compare>
#include <expected>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/error.h"
#include "messages/read_error.h"

namespace mt {

// The allowed call-to-action kinds; no other kind can be read. CTA_KIND_NAMES holds their
// names in the same order, as a document writes them.
enum class CtaKind { open_updates, open_appearance, open_license };
inline constexpr std::array<std::string_view, 3> CTA_KIND_NAMES = {"open_updates", "open_appearance", "open_license"};

struct Cta {
    CtaKind kind = CtaKind::open_updates;
    friend bool operator==(const Cta&, const Cta&) = default;
};

struct Message {
    std::string id;
    std::uint8_t priority = 0;
    std::string title;
    std::string body;
    std::int64_t start_at = 0;
    std::int64_t end_at = 0;
    std::optional<Cta> cta;
    std::optional<std::string> minVersion;
    std::optional<std::string> maxVersion;
    friend bool operator==(const Message&, const Message&) = default;
};

struct Feed {
    std::uint32_t schema = 0;
    std::uint64_t revision = 0;
    std::vector<Message> messages;
    friend bool operator==(const Feed&, const Feed&) = default;
};

// The fixed limits of the feed and message rules.
inline constexpr std::uint32_t SUPPORTED_SCHEMA = 1;
inline constexpr std::uint64_t MIN_REVISION = 1;
inline constexpr std::size_t MAX_MESSAGES = 50;
inline constexpr std::size_t MAX_ID_BYTES = 64;
inline constexpr std::uint8_t MAX_PRIORITY = 2;
inline constexpr std::size_t MAX_TITLE_CHARS = 80;
inline constexpr std::size_t MAX_BODY_CHARS = 800;

// Control characters as the title and body rule knows them: U+0000..U+001F but the line feed,
// and U+007F..U+009F. The first one of a text, if any.
bool is_control_character(char32_t value);
std::optional<char32_t> first_control_character(std::string_view text);

// Reads a feed document (any bytes). On failure the text is "{message} at line {l} column {c}",
// the text of the reader's ReadError.
Result<Feed> parse_feed(std::string_view document);

// Where a record and each of its values begin in a document, as byte offsets of their first
// byte: `start` at the record's `{` or `[`, `values` in the order of the record's fields (the
// order of its array form), NO_OFFSET for a field the document leaves out.
struct RecordLocations {
    std::size_t start = NO_OFFSET;
    std::vector<std::size_t> values;
};
struct FeedLocations {
    RecordLocations feed;
    std::vector<RecordLocations> messages;  // one per message read, in document order
};

// parse_feed that says what went wrong and where as a value, and, when `locations` is given,
// records where the feed, each message and each of their values begin (not inside a call to
// action); on failure `locations` keeps what was read up to the error. Without it, nothing is
// recorded and nothing is paid for it.
std::expected<Feed, ReadError> read_feed_document(std::string_view document, FeedLocations* locations = nullptr);

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
    Rule rule;
    Subject subject;
    std::size_t message = NO_MESSAGE;  // index of the message it is about; NO_MESSAGE for schema, revision
    std::size_t earlier = NO_MESSAGE;  // duplicate_id: index of the first message with that id
    std::string text;                  // exactly as feed acceptance words it
};

// The failures of `feed`, at most `limit` of them: every failing feed rule, then every failing
// rule of every message in document order, each message's rules in their order (a rule on two
// values, such as the title and the body, fails once per value). The count failure is about the
// first message past the limit. The first failure is the one check_feed_rules reports.
std::vector<RuleFailure> find_rule_failures(const Feed& feed, std::size_t limit = NO_MESSAGE);

// Where the value a failure is about begins, from the locations recorded while reading the
// same document (the message's `{` or `[` for the count); NO_OFFSET when it was not recorded.
std::size_t value_offset(const FeedLocations& locations, const RuleFailure& failure);

// The same for a subject of the message at `message` (ignored for schema and revision).
std::size_t value_offset(const FeedLocations& locations, Subject subject, std::size_t message);

// The feed rules (schema, revision, count), then the message rules for every message in order;
// the text of the first failure.
Result<void> check_feed_rules(const Feed& feed);

// How feed acceptance words a reading error: this, then the reader's text.
inline constexpr std::string_view PARSE_ERROR_PREFIX = "messages: JSON ленты не разбирается: ";

// parse_feed and check_feed_rules on bytes that nobody has authenticated, with verify_feed's
// texts (PARSE_ERROR_PREFIX and the reader's text, or the rule texts).
Result<Feed> accept_unauthenticated_document(std::string_view feed_bytes);

}  // namespace mt
