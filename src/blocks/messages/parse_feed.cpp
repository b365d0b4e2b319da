// The feed reader: maps a JSON document onto Feed, Message and Cta in one pass over its bytes.
//
// Each record is described once, by a table of its fields (`RecordShape`): key, how the value
// is read, whether it may be absent. One procedure (`read_record`) reads every record from its
// table, in the object form or as an array of its field values, and every error text about a
// record (its name, its keys, its length) is derived from the same table. Unknown and repeated keys are
// refused before their value is looked at, so a value is never read without a field to hold it.
// The format nests at most five deep, so the recursion is bounded by the format itself; the
// nesting budget is kept as well so that the reader stays bounded whatever it is handed.
#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <type_traits>
#include <utility>

#include "common/text.h"
#include "messages/json_cursor.h"
#include "messages/messages.h"
#include "messages/messages_internal.h"

namespace mt {
namespace {

using json::Cursor;
using json::END;

// Nesting the format never needs (it nests five deep), kept so the reader stays bounded.
constexpr unsigned NESTING_BUDGET = 128;

constexpr std::string_view EOF_LIST = "EOF while parsing a list";
constexpr std::string_view EOF_OBJECT = "EOF while parsing an object";
constexpr std::string_view RECURSION_LIMIT = "recursion limit exceeded";
constexpr std::string_view TRAILING_COMMA = "trailing comma";
constexpr std::string_view TRAILING_CHARACTERS = "trailing characters";
constexpr std::string_view KEY_MUST_BE_A_STRING = "key must be a string";
constexpr std::string_view EXPECTED_COLON = "expected `:`";
constexpr std::string_view EXPECTED_LIST_COMMA_OR_END = "expected `,` or `]`";
constexpr std::string_view EXPECTED_OBJECT_COMMA_OR_END = "expected `,` or `}`";

// The reading state. `key` is one buffer reused for every key, so keys cost no allocation once
// it has grown. Locations are recorded only where asked: `record_at` for the next record read
// (not the records inside it), `messages_at` for every message; both stay null on the check path.
struct Reader {
    Cursor cur;
    unsigned budget;
    std::string key;
    RecordLocations* record_at = nullptr;
    std::vector<RecordLocations>* messages_at = nullptr;
};

// Records where the value about to be read begins.
void note_value(Reader& r, RecordLocations* at, std::size_t field) {
    r.cur.peek_past_space();
    at->values[field] = r.cur.offset();
}

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

// One field of a record as the reader sees it: its key, how its value is read into the record,
// and whether the record may go without it (the field then keeps its default).
template <class Record>
struct RecordField {
    std::string_view key;
    Result<void> (*read)(Reader&, Record&);
    bool optional = false;
};

constexpr bool OPTIONAL = true;

// A record described once: its name and its fields in declaration order, which is also the
// order of the array form. Everything the errors say about it follows from this.
template <class Record, std::size_t N>
struct RecordShape {
    std::string_view name;  // "Feed"; errors say "struct Feed"
    std::array<RecordField<Record>, N> fields;

    // Required fields come first, so the array form may leave out only a tail of optionals.
    constexpr std::size_t required() const {
        std::size_t count = 0;
        while (count < N && !fields[count].optional) ++count;
        return count;
    }
    constexpr bool required_fields_lead() const {
        for (std::size_t i = required(); i < N; ++i)
            if (!fields[i].optional) return false;
        return true;
    }
};

// "one of `a`, `b`" (or just "`a`" for a single key), as an unknown field lists the keys.
template <class Record, std::size_t N>
std::string key_list(const RecordShape<Record, N>& shape) {
    std::string out = N == 1 ? "" : "one of ";
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) out += ", ";
        out += '`';
        out += shape.fields[i].key;
        out += '`';
    }
    return out;
}

template <class Record, std::size_t N>
Result<void> read_object_form(Reader& r, const RecordShape<Record, N>& shape, Record& record, RecordLocations* at) {
    static_assert(N <= 32, "the seen-mask holds one bit per key");
    if (auto entered = enter(r); !entered) return entered;
    std::uint32_t seen = 0;  // bit i: key i has occurred, even with a null value
    for (bool first = true;; first = false) {
        int c = r.cur.peek_past_space();
        if (c == '}') break;
        if (first) {
            if (c == END) return r.cur.peek_error(EOF_OBJECT);
        } else {
            if (c == END) return r.cur.peek_error(EOF_OBJECT);
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
        while (index < N && shape.fields[index].key != r.key) ++index;
        // A refused key is reported after the whitespace that follows it, before its `:`.
        c = r.cur.peek_past_space();
        if (index == N)
            return r.cur.error("unknown field `" + escape_unprintable(r.key) + "`, expected " + key_list(shape));
        if (seen & (1u << index)) return r.cur.error("duplicate field `" + std::string(shape.fields[index].key) + "`");
        seen |= 1u << index;

        if (c == END) return r.cur.peek_error(EOF_OBJECT);
        if (c != ':') return r.cur.peek_error(EXPECTED_COLON);
        r.cur.advance();
        if (at) note_value(r, at, index);
        if (auto read = shape.fields[index].read(r, record); !read) return read;
    }
    r.cur.advance();  // the `}`
    leave(r);
    for (std::size_t i = 0; i < N; ++i)
        if (!shape.fields[i].optional && !(seen & (1u << i)))
            return r.cur.error("missing field `" + std::string(shape.fields[i].key) + "`");
    return {};
}

template <class Record, std::size_t N>
Result<void> read_array_form(Reader& r, const RecordShape<Record, N>& shape, Record& record, RecordLocations* at) {
    if (auto entered = enter(r); !entered) return entered;
    std::size_t count = 0;
    for (; count < N; ++count) {
        int c = r.cur.peek_past_space();
        if (c == ']') break;
        if (count == 0) {
            if (c == END) return r.cur.peek_error(EOF_LIST);
        } else {
            if (c == END) return r.cur.peek_error(EOF_LIST);
            if (c != ',') return r.cur.peek_error(EXPECTED_LIST_COMMA_OR_END);
            r.cur.advance();
            if (r.cur.peek_past_space() == ']') return r.cur.peek_error(TRAILING_COMMA);
        }
        if (at) note_value(r, at, count);
        if (auto read = shape.fields[count].read(r, record); !read) return read;
    }

    const int c = r.cur.peek_past_space();
    if (c == ']') {
        r.cur.advance();
        leave(r);
        if (count >= shape.required()) return {};
        std::string text = "invalid length ";
        append_decimal(text, count);
        text += ", expected struct ";
        text += shape.name;
        text += " with ";
        append_decimal(text, N);
        text += N == 1 ? " element" : " elements";
        return r.cur.error(text);
    }
    // Every field has been read and the array goes on.
    if (c == END) return r.cur.peek_error(EOF_LIST);
    if (c != ',') return r.cur.peek_error(EXPECTED_LIST_COMMA_OR_END);
    r.cur.advance();
    return r.cur.peek_error(r.cur.peek_past_space() == ']' ? TRAILING_COMMA : TRAILING_CHARACTERS);
}

// Reads one record at the cursor, in its object or its array form.
template <class Record, std::size_t N>
Result<void> read_record(Reader& r, const RecordShape<Record, N>& shape, Record& record) {
    static_assert(N > 0);
    const int c = r.cur.peek_past_space();
    RecordLocations* const at = std::exchange(r.record_at, nullptr);
    if (at) {
        at->start = r.cur.offset();
        at->values.assign(N, NO_OFFSET);
    }
    if (c == '{') return read_object_form(r, shape, record, at);
    if (c == '[') return read_array_form(r, shape, record, at);
    if (c == END) return r.cur.peek_error(json::EOF_VALUE);
    return r.cur.invalid_type("struct " + std::string(shape.name));
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
    if (c == END) return r.cur.peek_error(EOF_OBJECT);
    if (c == '}') return r.cur.peek_error(json::EXPECTED_VALUE);
    if (c != '"') return r.cur.peek_error(KEY_MUST_BE_A_STRING);
    r.cur.advance();
    r.key.clear();
    if (auto read = r.cur.read_string(r.key); !read) return std::unexpected(read.error());
    const auto kind = kind_named(r, r.key);
    if (!kind) return kind;

    c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(EOF_OBJECT);
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
    if (c == END) return r.cur.error(EOF_OBJECT);
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

constexpr RecordShape<Cta, 1> CTA_SHAPE = {"Cta", {{{"kind", [](Reader& r, Cta& c) { return read_kind(r, c.kind); }}}}};

Result<void> read_optional_cta(Reader& r, std::optional<Cta>& out) {
    const auto null = take_null(r);
    if (!null) return std::unexpected(null.error());
    if (*null) return {};
    Cta cta;
    if (auto read = read_record(r, CTA_SHAPE, cta); !read) return read;
    out = cta;
    return {};
}

constexpr RecordShape<Message, 9> MESSAGE_SHAPE = {
    "Message",
    {{
        {"id", [](Reader& r, Message& m) { return read_text(r, m.id); }},
        {"priority", [](Reader& r, Message& m) { return read_integer(r, m.priority, "u8"); }},
        {"title", [](Reader& r, Message& m) { return read_text(r, m.title); }},
        {"body", [](Reader& r, Message& m) { return read_text(r, m.body); }},
        {"start_at", [](Reader& r, Message& m) { return read_integer(r, m.start_at, "i64"); }},
        {"end_at", [](Reader& r, Message& m) { return read_integer(r, m.end_at, "i64"); }},
        {"cta", [](Reader& r, Message& m) { return read_optional_cta(r, m.cta); }, OPTIONAL},
        {"minVersion", [](Reader& r, Message& m) { return read_optional_text(r, m.minVersion); }, OPTIONAL},
        {"maxVersion", [](Reader& r, Message& m) { return read_optional_text(r, m.maxVersion); }, OPTIONAL},
    }},
};

Result<void> read_messages(Reader& r, std::vector<Message>& out) {
    const int c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(json::EOF_VALUE);
    if (c != '[') return r.cur.invalid_type("a sequence");
    if (auto entered = enter(r); !entered) return entered;
    for (bool first = true;; first = false) {
        int next = r.cur.peek_past_space();
        if (next == ']') break;
        if (next == END) return r.cur.peek_error(EOF_LIST);
        if (!first) {
            if (next != ',') return r.cur.peek_error(EXPECTED_LIST_COMMA_OR_END);
            r.cur.advance();
            if (r.cur.peek_past_space() == ']') return r.cur.peek_error(TRAILING_COMMA);
        }
        if (r.messages_at) r.record_at = &r.messages_at->emplace_back();
        if (auto read = read_record(r, MESSAGE_SHAPE, out.emplace_back()); !read) return read;
    }
    r.cur.advance();  // the `]`
    leave(r);
    return {};
}

constexpr RecordShape<Feed, 3> FEED_SHAPE = {
    "Feed",
    {{
        {"schema", [](Reader& r, Feed& f) { return read_integer(r, f.schema, "u32"); }},
        {"revision", [](Reader& r, Feed& f) { return read_integer(r, f.revision, "u64"); }},
        {"messages", [](Reader& r, Feed& f) { return read_messages(r, f.messages); }, OPTIONAL},
    }},
};

static_assert(CTA_SHAPE.required_fields_lead() && MESSAGE_SHAPE.required_fields_lead() &&
              FEED_SHAPE.required_fields_lead());

Result<Feed> read_feed(Reader& r) {
    Feed feed;
    if (auto read = read_record(r, FEED_SHAPE, feed); !read) return std::unexpected(std::move(read.error()));
    if (r.cur.peek_past_space() != END) return r.cur.peek_error(TRAILING_CHARACTERS);
    return feed;
}

// The position of `key` among the fields of `shape`, N when it is not one.
template <class Record, std::size_t N>
constexpr std::size_t field_index(const RecordShape<Record, N>& shape, std::string_view key) {
    std::size_t index = 0;
    while (index < N && shape.fields[index].key != key) ++index;
    return index;
}

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
        if (field_index(FEED_SHAPE, subject_key(s)) == FEED_SHAPE.fields.size()) return false;
    for (Subject s : {Subject::id, Subject::priority, Subject::title, Subject::body, Subject::end_at,
                      Subject::minVersion, Subject::maxVersion})
        if (field_index(MESSAGE_SHAPE, subject_key(s)) == MESSAGE_SHAPE.fields.size()) return false;
    return true;
}
static_assert(subjects_are_fields());

std::size_t value_at(const RecordLocations& record, std::size_t field) {
    return field < record.values.size() ? record.values[field] : NO_OFFSET;
}

}  // namespace

Result<Feed> parse_feed_with_budget(std::string_view document, unsigned nesting_budget) {
    Reader r{Cursor(document), nesting_budget, {}};
    return read_feed(r);
}

Result<Feed> parse_feed(std::string_view document) { return parse_feed_with_budget(document, NESTING_BUDGET); }

Result<Feed> parse_feed(std::string_view document, FeedLocations& locations) {
    locations = {};
    Reader r{Cursor(document), NESTING_BUDGET, {}, &locations.feed, &locations.messages};
    return read_feed(r);
}

std::size_t value_offset(const FeedLocations& locations, const RuleFailure& failure) {
    if (failure.subject == Subject::schema || failure.subject == Subject::revision)
        return value_at(locations.feed, field_index(FEED_SHAPE, subject_key(failure.subject)));
    if (failure.message >= locations.messages.size()) return NO_OFFSET;
    const RecordLocations& message = locations.messages[failure.message];
    if (failure.subject == Subject::message) return message.start;
    return value_at(message, field_index(MESSAGE_SHAPE, subject_key(failure.subject)));
}

}  // namespace mt
