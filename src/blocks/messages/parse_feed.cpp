// The feed reader: maps a JSON document onto Feed, Message and Cta in one pass over its bytes.
//
// The format nests at most five deep, so the recursion is bounded by the format itself; the
// nesting budget is kept as well so that the reader stays bounded whatever it is handed.
#include <span>

#include "messages/messages.h"
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
    ReadError error = r.cur.error_value(r.cur.offset(), unknown_variant,
                                        "unknown variant `" + escape_unprintable(text) + "`, expected " +
                                            key_list(CTA_KIND_NAMES));
    error.key = std::string(text);
    error.key_offset = key_offset;
    error.expected_keys = CTA_KIND_NAMES;
    return std::unexpected(std::move(error));
}

// The object form of a kind: `{"open_license": null}`, exactly one member.
Read<CtaKind> read_kind_object(Reader& r) {
    if (auto entered = enter(r); !entered) return std::unexpected(std::move(entered.error()));
    int c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(end_of_input, EOF_OBJECT);
    if (c == '}') return r.cur.peek_error(syntax, json::EXPECTED_VALUE);
    if (c != '"') return r.cur.peek_error(syntax, KEY_MUST_BE_A_STRING);
    const std::size_t key_offset = r.cur.offset();
    r.cur.advance();
    r.key.clear();
    if (auto read = r.cur.read_string(r.key); !read) return std::unexpected(std::move(read.error()));
    const auto kind = kind_named(r, r.key, key_offset);
    if (!kind) return kind;

    c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(end_of_input, EOF_OBJECT);
    if (c != ':') return r.cur.peek_error(syntax, EXPECTED_COLON);
    r.cur.advance();
    c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(end_of_input, json::EOF_VALUE);
    if (c != 'n') return r.cur.invalid_type("unit");
    r.cur.advance();
    if (auto literal = r.cur.finish_literal("ull"); !literal) return std::unexpected(std::move(literal.error()));
    leave(r);

    // Anything but the closing brace is refused where it begins, that byte not counted.
    c = r.cur.peek_past_space();
    if (c == END) return r.cur.error(end_of_input, EOF_OBJECT);
    if (c != '}') return r.cur.error(syntax, json::EXPECTED_VALUE);
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
        kind = read_kind_object(r);
    } else {
        return c == END ? r.cur.peek_error(end_of_input, json::EOF_VALUE) : r.cur.peek_error(syntax, json::EXPECTED_VALUE);
    }
    if (!kind) return std::unexpected(std::move(kind.error()));
    out = *kind;
    return {};
}

constexpr RecordShape<Cta, 1> CTA_SHAPE = {"struct Cta", {{{"kind", [](Reader& r, Cta& c) { return read_kind(r, c.kind); }}}}};

Read<Feed> read_feed(Reader& r) {
    Feed feed;
    if (auto read = read_record<FEED_SHAPE>(r, feed); !read) return std::unexpected(std::move(read.error()));
    if (r.cur.peek_past_space() != END) return r.cur.peek_error(syntax, TRAILING_CHARACTERS);
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
    if (c == END) return r.cur.peek_error(end_of_input, json::EOF_VALUE);
    if (c != '[') return r.cur.invalid_type("a sequence");
    if (auto entered = enter(r); !entered) return entered;
    for (bool first = true;; first = false) {
        int next = r.cur.peek_past_space();
        if (next == ']') break;
        if (next == END) return r.cur.peek_error(end_of_input, EOF_LIST);
        if (!first) {
            if (next != ',') return r.cur.peek_error(syntax, EXPECTED_LIST_COMMA_OR_END);
            r.cur.advance();
            if (r.cur.peek_past_space() == ']') return r.cur.peek_error(syntax, TRAILING_COMMA);
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

}  // namespace reader

Read<Feed> parse_feed_with_budget(std::string_view document, unsigned nesting_budget) {
    reader::Reader r{json::Cursor(document), nesting_budget, {}};
    return reader::read_feed(r);
}

Result<Feed> parse_feed(std::string_view document) {
    auto feed = parse_feed_with_budget(document, reader::NESTING_BUDGET);
    if (!feed) return fail(feed.error().text());
    return std::move(*feed);
}

std::expected<Feed, ReadError> read_feed_document(std::string_view document, FeedLocations* locations) {
    reader::Reader r{json::Cursor(document), reader::NESTING_BUDGET, {}};
    if (locations) {
        *locations = {};
        r.record_at = &locations->feed;
        r.messages_at = &locations->messages;
    }
    return reader::read_feed(r);
}

}  // namespace mt
