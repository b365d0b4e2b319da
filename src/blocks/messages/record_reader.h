// The record machinery of the feed reader: one procedure (`read_record`) reads every record from
// a table of its fields (`RecordShape`), in the object form or as an array of its field values,
// and every error about a record (its name, its keys, its length) follows from the same table.
// Unknown and repeated keys are refused before their value is looked at, so a value is never
// read without a field to hold it.
//
// Internal to the messages block.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "common/digits.h"
#include "common/escape.h"
#include "json_cursor.h"
#include "messages/messages.h"

namespace mt::reader {

using json::Cursor;
using json::END;

using enum Reason;

// The reading state. `key` is one buffer reused for every key, so keys cost no allocation once
// it has grown. Locations are recorded only where asked: `record_at` for the next record read
// (not the records inside it), `messages_at` for every message; both stay null on the check path.
// `id_read` says whether the message being read has had its id read, for the errors about it.
struct Reader {
    Cursor cur;
    unsigned budget;
    std::string key;
    RecordLocations* record_at = nullptr;
    std::vector<RecordLocations>* messages_at = nullptr;
    bool id_read = false;
};

// Records where the value about to be read begins.
inline void note_value(Reader& r, RecordLocations* at, std::size_t field) {
    r.cur.peek_past_space();
    at->values[field].begin = r.cur.offset();
}

// Takes the peeked `[` or `{` of a record, the message list or the object form of a kind, and
// one unit of the nesting budget with it.
inline Read<void> enter(Reader& r) {
    if (r.budget <= 1) return r.cur.peek_error(recursion_limit);
    --r.budget;
    r.cur.advance();
    return {};
}

inline void leave(Reader& r) { ++r.budget; }

// A type or range error about a member's own value (the value that follows its colon, not one
// inside it) names the member's field.
inline void name_field(const Reader& r, ReadError& error, std::string_view key, std::size_t after_colon) {
    if ((error.reason == invalid_type || error.reason == invalid_value) && error.field.empty() &&
        error.value_offset != NO_OFFSET && r.cur.only_space_between(after_colon, error.value_offset))
        error.field = key;
}

// Reads a JSON string at the cursor (after optional whitespace) into `out`.
inline Read<void> read_text(Reader& r, std::string& out) {
    const int c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(eof_value);
    if (c != '"') return r.cur.invalid_type(ValueType::string);
    r.cur.advance();
    return r.cur.read_string(out);
}

// "invalid type" or "invalid value" for the number that began at `start`, read where an integer
// of another range was expected.
inline std::unexpected<ReadError> number_error(const Reader& r, Reason reason, const json::Number& number,
                                               ValueType expected, std::size_t start) {
    ReadError error = r.cur.error_value(r.cur.offset(), reason);
    error.expected = expected;
    error.found = number.kind == json::Number::Kind::floating ? FoundValue::floating : FoundValue::integer;
    error.found_text = json::describe_number(number);
    error.value_offset = start;
    return std::unexpected(std::move(error));
}

// Reads an integer that must fit `T`, of the width `name`.
template <class T>
Read<void> read_integer(Reader& r, T& out, ValueType name) {
    const int c = r.cur.peek_past_space();
    if (c == END) return r.cur.peek_error(eof_value);
    const std::size_t start = r.cur.offset();
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
            return number_error(r, invalid_type, *number, name, start);
    }
    return number_error(r, invalid_value, *number, name, start);
}

// Takes a `null` at the cursor and says whether there was one; an optional field is then none.
inline Read<bool> take_null(Reader& r) {
    if (r.cur.peek_past_space() != 'n') return false;
    r.cur.advance();
    if (auto literal = r.cur.finish_literal("ull"); !literal) return std::unexpected(std::move(literal.error()));
    return true;
}

inline Read<void> read_optional_text(Reader& r, std::optional<std::string>& out) {
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
    Read<void> (*read)(Reader&, Record&);
    bool optional = false;
};

inline constexpr bool OPTIONAL = true;

// A record described once: its type as errors name it and its fields in declaration order, which
// is also the order of the array form. Everything the errors say about it follows from this.
template <class Record, std::size_t N>
struct RecordShape {
    ValueType type;
    RecordKind record;
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
    constexpr std::array<std::string_view, N> keys() const {
        std::array<std::string_view, N> out{};
        for (std::size_t i = 0; i < N; ++i) out[i] = fields[i].key;
        return out;
    }
    // The position of `key` among the fields, N when it is not one.
    constexpr std::size_t index_of(std::string_view key) const {
        std::size_t index = 0;
        while (index < N && fields[index].key != key) ++index;
        return index;
    }
};

// The keys of a shape with static storage, so that an error can refer to them.
template <const auto& Shape>
inline constexpr auto KEYS_OF = Shape.keys();

template <const auto& Shape, class Record>
Read<void> read_object_form(Reader& r, Record& record, RecordLocations* at) {
    constexpr std::size_t N = Shape.fields.size();
    static_assert(N <= 32, "the seen-mask holds one bit per key");
    if (auto entered = enter(r); !entered) return entered;
    std::uint32_t seen = 0;                    // bit i: key i has occurred, even with a null value
    std::array<std::size_t, N> key_offsets{};  // where key i occurred, for a repeated key's error
    for (bool first = true;; first = false) {
        int c = r.cur.peek_past_space();
        if (c == '}') break;
        if (first) {
            if (c == END) return r.cur.peek_error(eof_object);
        } else {
            if (c == END) return r.cur.peek_error(eof_object);
            if (c != ',') return r.cur.peek_error(expected_object_comma_or_end);
            r.cur.advance();
            c = r.cur.peek_past_space();
            if (c == '}') return r.cur.peek_error(trailing_comma);
            if (c == END) return r.cur.peek_error(eof_value);
        }
        if (c != '"') return r.cur.peek_error(key_must_be_a_string);
        const std::size_t key_offset = r.cur.offset();
        r.cur.advance();
        r.key.clear();
        if (auto read = r.cur.read_string(r.key); !read) return read;
        const std::size_t key_end = r.cur.offset();

        const std::size_t index = Shape.index_of(r.key);
        c = r.cur.peek_past_space();
        if (index == N || (seen & (1u << index))) {
            // A refused key is reported after the whitespace that follows it, or after a `}` that
            // stands there, which the reader takes before it stops.
            if (c == '}') r.cur.advance();
            const bool unknown = index == N;
            ReadError error = r.cur.error_value(r.cur.offset(), unknown ? unknown_field : duplicate_field);
            error.key = std::move(r.key);
            error.key_offset = key_offset;
            error.key_end = key_end;
            if (unknown) error.expected_keys = KEYS_OF<Shape>;
            if (!unknown) error.first_key_offset = key_offsets[index];
            return std::unexpected(std::move(error));
        }
        seen |= 1u << index;
        key_offsets[index] = key_offset;

        if (c == END) return r.cur.peek_error(eof_object);
        if (c != ':') return r.cur.peek_error(expected_colon);
        r.cur.advance();
        const std::size_t after_colon = r.cur.offset();
        if (at) note_value(r, at, index);
        if (auto read = Shape.fields[index].read(r, record); !read) {
            name_field(r, read.error(), Shape.fields[index].key, after_colon);
            return read;
        }
        if (at) at->values[index].end = r.cur.offset();
    }
    r.cur.advance();  // the `}`
    leave(r);
    for (std::size_t i = 0; i < N; ++i) {
        if (!Shape.fields[i].optional && !(seen & (1u << i))) {
            ReadError error = r.cur.error_value(r.cur.offset(), missing_field);
            error.key = Shape.fields[i].key;
            return std::unexpected(std::move(error));
        }
    }
    return {};
}

template <const auto& Shape, class Record>
Read<void> read_array_form(Reader& r, Record& record, RecordLocations* at) {
    constexpr std::size_t N = Shape.fields.size();
    if (auto entered = enter(r); !entered) return entered;
    std::size_t count = 0;
    for (; count < N; ++count) {
        int c = r.cur.peek_past_space();
        if (c == ']') break;
        if (count == 0) {
            if (c == END) return r.cur.peek_error(eof_list);
        } else {
            if (c == END) return r.cur.peek_error(eof_list);
            if (c != ',') return r.cur.peek_error(expected_list_comma_or_end);
            r.cur.advance();
            if (r.cur.peek_past_space() == ']') return r.cur.peek_error(trailing_comma);
        }
        if (at) note_value(r, at, count);
        if (auto read = Shape.fields[count].read(r, record); !read) return read;
        if (at) at->values[count].end = r.cur.offset();
    }

    const int c = r.cur.peek_past_space();
    if (c == ']') {
        r.cur.advance();
        leave(r);
        if (count >= Shape.required()) return {};
        ReadError error = r.cur.error_value(r.cur.offset(), invalid_length);
        error.expected = Shape.type;
        error.length = count;
        error.fields = N;
        return std::unexpected(std::move(error));
    }
    // Every field has been read and the array goes on.
    if (c == END) return r.cur.peek_error(eof_list);
    if (c != ',') return r.cur.peek_error(expected_list_comma_or_end);
    r.cur.advance();
    return r.cur.peek_error(r.cur.peek_past_space() == ']' ? trailing_comma : trailing_characters);
}

// Reads one record at the cursor, in its object or its array form. An error from inside it that
// names no record yet is about this one.
template <const auto& Shape, class Record>
Read<void> read_record(Reader& r, Record& record) {
    static_assert(Shape.fields.size() > 0);
    const int c = r.cur.peek_past_space();
    const std::size_t start = r.cur.offset();
    RecordLocations* const at = std::exchange(r.record_at, nullptr);
    if (at) {
        at->start = start;
        at->values.assign(Shape.fields.size(), Span{});
    }
    if (c == END) return r.cur.peek_error(eof_value);
    if (c != '{' && c != '[') return r.cur.invalid_type(Shape.type);
    Read<void> read = c == '{' ? read_object_form<Shape>(r, record, at) : read_array_form<Shape>(r, record, at);
    if (!read && read.error().record == RecordKind::none) {
        read.error().record = Shape.record;
        read.error().record_offset = start;
    }
    if (read && at) at->end = r.cur.offset();
    return read;
}

}  // namespace mt::reader
