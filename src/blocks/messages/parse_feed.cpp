// The feed reader: maps a JSON document onto Feed, Message and Cta in one pass over its bytes.
//
// The format nests at most five deep, so the recursion is bounded by the format itself; the
// nesting budget is kept as well so that the reader stays bounded whatever it is handed.
#include <span>

#include "messages/reading.h"
#include "messages_internal.h"
#include "record_shapes.h"

namespace mt {
namespace reader {
namespace {

// Nesting the format never needs (it nests five deep), kept so the reader stays bounded.
constexpr unsigned NESTING_BUDGET = 128;

// The kind named `text`, or the unknown-variant error after the text just read, whose opening
// quotation mark is at `key_offset`.
Read<CtaKind> kind_named(Reader& r, std::string_view text, std::size_t key_offset) {
    for (std::size_t i = 0; i < CTA_KIND_NAMES.size(); ++i)
        if (CTA_KIND_NAMES[i] == text) return static_cast<CtaKind>(i);
    ReadError error = r.cur.error_value(r.cur.offset(), unknown_variant);
    error.key = std::string(text);
    error.key_offset = key_offset;
    error.key_end = r.cur.offset();
    error.expected_keys = CTA_KIND_NAMES;
    return std::unexpected(std::move(error));
}

// The object form of a kind: `{"open_license": null}`, exactly one member.
Read<CtaKind> read_kind_object(Reader& r) {
    if (auto entered = enter(r); !entered) return std::unexpected(std::move(entered.error()));
    int c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(eof_object);
    if (c == '}') return r.cur.peek_error(expected_value);
    if (c != '"') return r.cur.peek_error(key_must_be_a_string);
    const std::size_t key_offset = r.cur.offset();
    r.cur.advance();
    r.key.clear();
    if (auto read = r.cur.read_string(r.key); !read) return std::unexpected(std::move(read.error()));
    const auto kind = kind_named(r, r.key, key_offset);
    if (!kind) return kind;

    c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(eof_object);
    if (c != ':') return r.cur.peek_error(expected_colon);
    r.cur.advance();
    c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(eof_value);
    if (c != 'n') return r.cur.invalid_type(ValueType::unit);
    r.cur.advance();
    if (auto literal = r.cur.finish_literal("ull"); !literal) return std::unexpected(std::move(literal.error()));
    leave(r);

    // Anything but the closing brace is refused where it begins, that byte not counted.
    c = r.cur.peek_past_space();
    if (c == END) return r.cur.error(eof_object);
    if (c != '}') return r.cur.error(expected_value);
    r.cur.advance();
    return kind;
}

Read<void> read_kind(Reader& r, CtaKind& out) {
    const int c = r.cur.peek_past_space();
    Read<CtaKind> kind;
    if (c == '"') {
        const std::size_t key_offset = r.cur.offset();
        r.cur.advance();
        r.key.clear();
        if (auto read = r.cur.read_string(r.key); !read) return read;
        kind = kind_named(r, r.key, key_offset);
    } else if (c == '{') {
        const std::size_t start = r.cur.offset();
        kind = read_kind_object(r);
        if (!kind && kind.error().record == RecordKind::none) {
            kind.error().record = RecordKind::kind;
            kind.error().record_offset = start;
        }
    } else {
        return c == END ? r.cur.peek_error(eof_value) : r.cur.peek_error(expected_value);
    }
    if (!kind) return std::unexpected(std::move(kind.error()));
    out = *kind;
    return {};
}

constexpr RecordShape<Cta, 1> CTA_SHAPE = {
    ValueType::cta, RecordKind::cta, {{{"kind", [](Reader& r, Cta& c) { return read_kind(r, c.kind); }}}}};

Read<Feed> read_feed(Reader& r) {
    Feed feed;
    if (auto read = read_record<FEED_SHAPE>(r, feed); !read) return std::unexpected(std::move(read.error()));
    if (r.cur.peek_past_space() != END) return r.cur.peek_error(trailing_characters);
    return feed;
}

}  // namespace

Read<void> read_optional_cta(Reader& r, std::optional<Cta>& out) {
    const auto null = take_null(r);
    if (!null) return std::unexpected(null.error());
    if (*null) return {};
    Cta cta;
    if (auto read = read_record<CTA_SHAPE>(r, cta); !read) return read;
    out = cta;
    return {};
}

Read<void> read_messages(Reader& r, std::vector<Message>& out) {
    const int c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(eof_value);
    if (c != '[') return r.cur.invalid_type(ValueType::sequence);
    if (auto entered = enter(r); !entered) return entered;
    for (bool first = true;; first = false) {
        int next = r.cur.peek_past_space();
        if (next == ']') break;
        if (next == END) return r.cur.peek_error(eof_list);
        if (!first) {
            if (next != ',') return r.cur.peek_error(expected_list_comma_or_end);
            r.cur.advance();
            if (r.cur.peek_past_space() == ']') return r.cur.peek_error(trailing_comma);
        }
        if (r.messages_at) r.record_at = &r.messages_at->emplace_back();
        r.id_read = false;
        Message& message = out.emplace_back();
        if (auto read = read_record<MESSAGE_SHAPE>(r, message); !read) {
            read.error().message_index = out.size() - 1;
            if (r.id_read) read.error().message_id = message.id;
            return read;
        }
    }
    r.cur.advance();  // the `]`
    leave(r);
    return {};
}

Read<Message> read_one_message(Reader& r) {
    Message message;
    if (auto read = read_record<MESSAGE_SHAPE>(r, message); !read) return std::unexpected(std::move(read.error()));
    return message;
}

}  // namespace reader

Read<Feed> parse_feed_with_budget(std::string_view document, unsigned nesting_budget) {
    reader::Reader r{json::Cursor(document), nesting_budget, {}};
    return reader::read_feed(r);
}

std::expected<Feed, ReadError> parse_feed(std::string_view document, FeedLocations* locations) {
    reader::Reader r{json::Cursor(document), reader::NESTING_BUDGET, {}};
    if (locations) {
        *locations = {};
        r.record_at = &locations->feed;
        r.messages_at = &locations->messages;
    }
    return reader::read_feed(r);
}

std::optional<Message> parse_message(std::string_view document, std::size_t start, RecordLocations& locations) {
    // Two units of the budget stand for the feed's object and its list, which enclose a message.
    reader::Reader r{json::Cursor(document, start), reader::NESTING_BUDGET - 2, {}};
    locations = {};
    r.record_at = &locations;
    auto message = reader::read_one_message(r);
    if (!message) return std::nullopt;
    return std::move(*message);
}

std::optional<std::string> read_string_at(std::string_view document, std::size_t start) {
    json::Cursor cursor(document, start);
    if (cursor.peek() != '"') return std::nullopt;
    cursor.advance();
    std::string text;
    if (!cursor.read_string(text)) return std::nullopt;
    return text;
}

}  // namespace mt
