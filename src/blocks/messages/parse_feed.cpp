// The feed reader: maps a JSON document onto Feed, Message and Cta in one pass over its bytes.
//
// Each record is read by one procedure (`read_record`) driven by its shape: its keys in
// declaration order, how many of them are required, and the names its errors use. A record may
// be written as an object or as an array of its field values. Unknown and repeated keys are
// refused before their value is looked at, so a value is never read without a field to hold it.
// The format nests at most five deep, so the recursion is bounded by the format itself; the
// nesting budget is kept as well so that the reader stays bounded whatever it is handed.
#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <type_traits>

#include "common/text.h"
#include "messages/json_cursor.h"
#include "messages/messages.h"

namespace mt {
namespace {

using json::Cursor;
using json::END;

constexpr std::string_view RECURSION_LIMIT = "recursion limit exceeded";
constexpr std::string_view TRAILING_COMMA = "trailing comma";
constexpr std::string_view TRAILING_CHARACTERS = "trailing characters";
constexpr std::string_view KEY_MUST_BE_A_STRING = "key must be a string";
constexpr std::string_view EXPECTED_COLON = "expected `:`";
constexpr std::string_view EXPECTED_LIST_COMMA_OR_END = "expected `,` or `]`";
constexpr std::string_view EXPECTED_OBJECT_COMMA_OR_END = "expected `,` or `}`";

// The reading state. `key` is one buffer reused for every key, so keys cost no allocation once
// it has grown.
struct Reader {
    Cursor cur;
    unsigned budget;
    std::string key;
};

// Takes the peeked `[` or `{` of a record, the message list or the object form of a kind, and
// one unit of the nesting budget with it.
Result<void> enter(Reader& r) {
    if (r.budget <= 1) return r.cur.peek_error(RECURSION_LIMIT);
    --r.budget;
    r.cur.advance();
    return {};
}

void leave(Reader& r) { ++r.budget; }

// Reads a JSON string at the cursor (after optional whitespace) into `out`.
Result<void> read_text(Reader& r, std::string& out) {
    const int c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(json::EOF_VALUE);
    if (c != '"') return r.cur.invalid_type("a string");
    r.cur.advance();
    return r.cur.read_string(out);
}

// Reads an integer that must fit `T`; `name` is how the width is named in errors.
template <class T>
Result<void> read_integer(Reader& r, T& out, std::string_view name) {
    const int c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(json::EOF_VALUE);
    const bool negative = c == '-';
    if (!negative && !(c >= '0' && c <= '9')) return r.cur.invalid_type(name);
    if (negative) r.cur.advance();
    const auto number = r.cur.read_number(negative);
    if (!number) return std::unexpected(number.error());

    using Limits = std::numeric_limits<T>;
    switch (number->kind) {
        case json::Number::Kind::unsigned_integer:
            if (number->magnitude <= static_cast<std::uint64_t>(Limits::max())) {
                out = static_cast<T>(number->magnitude);
                return {};
            }
            break;
        case json::Number::Kind::negative_integer:
            // The magnitude is at most 2^63, so its negation always fits a signed 64-bit field.
            if constexpr (std::is_signed_v<T>) {
                out = static_cast<T>(std::uint64_t{0} - number->magnitude);
                return {};
            }
            break;
        case json::Number::Kind::floating:
            return r.cur.error("invalid type: " + json::describe_number(*number) + ", expected " + std::string(name));
    }
    return r.cur.error("invalid value: " + json::describe_number(*number) + ", expected " + std::string(name));
}

// Takes a `null` at the cursor and says whether there was one; an optional field is then none.
Result<bool> take_null(Reader& r) {
    if (r.cur.peek_past_space() != 'n') return false;
    r.cur.advance();
    if (auto literal = r.cur.finish_literal("ull"); !literal) return std::unexpected(literal.error());
    return true;
}

Result<void> read_optional_text(Reader& r, std::optional<std::string>& out) {
    const auto null = take_null(r);
    if (!null) return std::unexpected(null.error());
    if (*null) return {};
    std::string text;
    if (auto read = read_text(r, text); !read) return read;
    out = std::move(text);
    return {};
}

// What a record looks like to the reader.
struct RecordShape {
    std::string_view name;                   // "struct Feed", as an invalid type names it
    std::string_view length_name;            // "struct Feed with 3 elements", as an invalid length names it
    std::span<const std::string_view> keys;  // in declaration order, the order of the array form
    std::string_view key_list;               // the keys as an unknown field lists them
    std::size_t required;                    // the first `required` keys must be present
};

template <class ReadField>
Result<void> read_object_form(Reader& r, const RecordShape& shape, ReadField& read_field) {
    if (auto entered = enter(r); !entered) return entered;
    std::uint32_t seen = 0;  // bit i: key i has occurred, even with a null value
    for (bool first = true;; first = false) {
        int c = r.cur.peek_past_space();
        if (c == '}') break;
        if (first) {
            if (c == END) return r.cur.peek_error(json::EOF_OBJECT);
        } else {
            if (c == END) return r.cur.peek_error(json::EOF_OBJECT);
            if (c != ',') return r.cur.peek_error(EXPECTED_OBJECT_COMMA_OR_END);
            r.cur.advance();
            c = r.cur.peek_past_space();
            if (c == '}') return r.cur.peek_error(TRAILING_COMMA);
            if (c == END) return r.cur.peek_error(json::EOF_VALUE);
        }
        if (c != '"') return r.cur.peek_error(KEY_MUST_BE_A_STRING);
        r.cur.advance();
        r.key.clear();
        if (auto read = r.cur.read_string(r.key); !read) return read;

        std::size_t index = 0;
        while (index < shape.keys.size() && shape.keys[index] != r.key) ++index;
        // A refused key is reported after the whitespace that follows it, before its `:`.
        c = r.cur.peek_past_space();
        if (index == shape.keys.size())
            return r.cur.error("unknown field `" + escape_unprintable(r.key) + "`, expected " +
                               std::string(shape.key_list));
        if (seen & (1u << index)) return r.cur.error("duplicate field `" + std::string(shape.keys[index]) + "`");
        seen |= 1u << index;

        if (c == END) return r.cur.peek_error(json::EOF_OBJECT);
        if (c != ':') return r.cur.peek_error(EXPECTED_COLON);
        r.cur.advance();
        if (auto read = read_field(index); !read) return read;
    }
    r.cur.advance();  // the `}`
    leave(r);
    for (std::size_t i = 0; i < shape.required; ++i)
        if (!(seen & (1u << i))) return r.cur.error("missing field `" + std::string(shape.keys[i]) + "`");
    return {};
}

template <class ReadField>
Result<void> read_array_form(Reader& r, const RecordShape& shape, ReadField& read_field) {
    if (auto entered = enter(r); !entered) return entered;
    std::size_t count = 0;
    for (; count < shape.keys.size(); ++count) {
        int c = r.cur.peek_past_space();
        if (c == ']') break;
        if (count == 0) {
            if (c == END) return r.cur.peek_error(json::EOF_LIST);
        } else {
            if (c == END) return r.cur.peek_error(json::EOF_LIST);
            if (c != ',') return r.cur.peek_error(EXPECTED_LIST_COMMA_OR_END);
            r.cur.advance();
            if (r.cur.peek_past_space() == ']') return r.cur.peek_error(TRAILING_COMMA);
        }
        if (auto read = read_field(count); !read) return read;
    }

    const int c = r.cur.peek_past_space();
    if (c == ']') {
        r.cur.advance();
        leave(r);
        if (count >= shape.required) return {};
        std::string text = "invalid length ";
        text += std::to_string(count);
        return r.cur.error(text + ", expected " + std::string(shape.length_name));
    }
    // Every field has been read and the array goes on.
    if (c == END) return r.cur.peek_error(json::EOF_LIST);
    if (c != ',') return r.cur.peek_error(EXPECTED_LIST_COMMA_OR_END);
    r.cur.advance();
    return r.cur.peek_error(r.cur.peek_past_space() == ']' ? TRAILING_COMMA : TRAILING_CHARACTERS);
}

// Reads one record at the cursor; `read_field(i)` reads the value of key i into the record.
template <class ReadField>
Result<void> read_record(Reader& r, const RecordShape& shape, ReadField read_field) {
    const int c = r.cur.peek_past_space();
    if (c == '{') return read_object_form(r, shape, read_field);
    if (c == '[') return read_array_form(r, shape, read_field);
    if (c == END) return r.cur.peek_error(json::EOF_VALUE);
    return r.cur.invalid_type(shape.name);
}

// The kind named `text`, or the unknown-variant error after the text just read.
Result<CtaKind> kind_named(Reader& r, std::string_view text) {
    for (std::size_t i = 0; i < CTA_KIND_NAMES.size(); ++i)
        if (CTA_KIND_NAMES[i] == text) return static_cast<CtaKind>(i);
    std::string message = "unknown variant `" + escape_unprintable(text) + "`, expected one of ";
    for (std::size_t i = 0; i < CTA_KIND_NAMES.size(); ++i) {
        if (i > 0) message += ", ";
        message += '`';
        message += CTA_KIND_NAMES[i];
        message += '`';
    }
    return r.cur.error(message);
}

// The object form of a kind: `{"open_license": null}`, exactly one member.
Result<CtaKind> read_kind_object(Reader& r) {
    if (auto entered = enter(r); !entered) return std::unexpected(entered.error());
    int c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(json::EOF_OBJECT);
    if (c == '}') return r.cur.peek_error(json::EXPECTED_VALUE);
    if (c != '"') return r.cur.peek_error(KEY_MUST_BE_A_STRING);
    r.cur.advance();
    r.key.clear();
    if (auto read = r.cur.read_string(r.key); !read) return std::unexpected(read.error());
    const auto kind = kind_named(r, r.key);
    if (!kind) return kind;

    c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(json::EOF_OBJECT);
    if (c != ':') return r.cur.peek_error(EXPECTED_COLON);
    r.cur.advance();
    c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(json::EOF_VALUE);
    if (c != 'n') return r.cur.invalid_type("unit");
    r.cur.advance();
    if (auto literal = r.cur.finish_literal("ull"); !literal) return std::unexpected(literal.error());
    leave(r);

    // Anything but the closing brace is refused where it begins, that byte not counted.
    c = r.cur.peek_past_space();
    if (c == END) return r.cur.error(json::EOF_OBJECT);
    if (c != '}') return r.cur.error(json::EXPECTED_VALUE);
    r.cur.advance();
    return kind;
}

Result<void> read_kind(Reader& r, CtaKind& out) {
    const int c = r.cur.peek_past_space();
    Result<CtaKind> kind;
    if (c == '"') {
        r.cur.advance();
        r.key.clear();
        if (auto read = r.cur.read_string(r.key); !read) return read;
        kind = kind_named(r, r.key);
    } else if (c == '{') {
        kind = read_kind_object(r);
    } else {
        return r.cur.peek_error(c == END ? json::EOF_VALUE : json::EXPECTED_VALUE);
    }
    if (!kind) return std::unexpected(std::move(kind.error()));
    out = *kind;
    return {};
}

constexpr std::array<std::string_view, 1> CTA_KEYS = {"kind"};
constexpr RecordShape CTA_SHAPE = {"struct Cta", "struct Cta with 1 element", CTA_KEYS, "`kind`", 1};

Result<void> read_optional_cta(Reader& r, std::optional<Cta>& out) {
    const auto null = take_null(r);
    if (!null) return std::unexpected(null.error());
    if (*null) return {};
    Cta cta;
    if (auto read = read_record(r, CTA_SHAPE, [&](std::size_t) { return read_kind(r, cta.kind); }); !read) return read;
    out = cta;
    return {};
}

constexpr std::array<std::string_view, 9> MESSAGE_KEYS = {"id",     "priority", "title",      "body",      "start_at",
                                                          "end_at", "cta",      "minVersion", "maxVersion"};
constexpr RecordShape MESSAGE_SHAPE = {
    "struct Message", "struct Message with 9 elements", MESSAGE_KEYS,
    "one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, `cta`, `minVersion`, `maxVersion`", 6};

Result<void> read_message_field(Reader& r, Message& m, std::size_t index) {
    switch (index) {
        case 0:
            return read_text(r, m.id);
        case 1:
            return read_integer(r, m.priority, "u8");
        case 2:
            return read_text(r, m.title);
        case 3:
            return read_text(r, m.body);
        case 4:
            return read_integer(r, m.start_at, "i64");
        case 5:
            return read_integer(r, m.end_at, "i64");
        case 6:
            return read_optional_cta(r, m.cta);
        case 7:
            return read_optional_text(r, m.minVersion);
        default:
            return read_optional_text(r, m.maxVersion);
    }
}

Result<void> read_messages(Reader& r, std::vector<Message>& out) {
    const int c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(json::EOF_VALUE);
    if (c != '[') return r.cur.invalid_type("a sequence");
    if (auto entered = enter(r); !entered) return entered;
    for (bool first = true;; first = false) {
        int next = r.cur.peek_past_space();
        if (next == ']') break;
        if (next == END) return r.cur.peek_error(json::EOF_LIST);
        if (!first) {
            if (next != ',') return r.cur.peek_error(EXPECTED_LIST_COMMA_OR_END);
            r.cur.advance();
            if (r.cur.peek_past_space() == ']') return r.cur.peek_error(TRAILING_COMMA);
        }
        Message& message = out.emplace_back();
        const auto read =
            read_record(r, MESSAGE_SHAPE, [&](std::size_t i) { return read_message_field(r, message, i); });
        if (!read) return read;
    }
    r.cur.advance();  // the `]`
    leave(r);
    return {};
}

constexpr std::array<std::string_view, 3> FEED_KEYS = {"schema", "revision", "messages"};
constexpr RecordShape FEED_SHAPE = {"struct Feed", "struct Feed with 3 elements", FEED_KEYS,
                                    "one of `schema`, `revision`, `messages`", 2};

Result<void> read_feed_field(Reader& r, Feed& feed, std::size_t index) {
    switch (index) {
        case 0:
            return read_integer(r, feed.schema, "u32");
        case 1:
            return read_integer(r, feed.revision, "u64");
        default:
            return read_messages(r, feed.messages);
    }
}

}  // namespace

Result<Feed> parse_feed(std::string_view document, unsigned nesting_budget) {
    Reader r{Cursor(document), nesting_budget, {}};
    Feed feed;
    if (auto read = read_record(r, FEED_SHAPE, [&](std::size_t i) { return read_feed_field(r, feed, i); }); !read)
        return std::unexpected(std::move(read.error()));
    if (r.cur.peek_past_space() != END) return r.cur.peek_error(TRAILING_CHARACTERS);
    return feed;
}

}  // namespace mt
