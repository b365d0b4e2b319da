// What went wrong while reading a feed document, and where: the value the reader returns on
// failure. Programs that act on a reading error (the authors' checker points at the key, the
// record, the first byte that is not UTF-8, and repairs what it can) branch on its enums and
// offsets; people read `text()`, which is made from them here and nowhere else.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace mt {

// A byte offset or a message index that does not apply.
inline constexpr std::size_t NO_OFFSET = static_cast<std::size_t>(-1);
inline constexpr std::size_t NO_MESSAGE = static_cast<std::size_t>(-1);

// Why reading stopped, one value per text the reader can give.
enum class Reason : unsigned char {
    // A byte that cannot stand where it is.
    expected_value,                // "expected value"
    expected_ident,                // "expected ident": a literal (null, true, false) misspelt
    invalid_number,                // "invalid number"
    invalid_escape,                // "invalid escape"
    control_character,             // "control character (\u0000-\u001F) found while parsing a string"
    lone_surrogate,                // "lone leading surrogate in hex escape"
    unexpected_end_of_hex_escape,  // "unexpected end of hex escape"
    trailing_comma,                // "trailing comma"
    trailing_characters,           // "trailing characters"
    key_must_be_a_string,          // "key must be a string"
    expected_colon,                // "expected `:`"
    expected_list_comma_or_end,    // "expected `,` or `]`"
    expected_object_comma_or_end,  // "expected `,` or `}`"
    // The document ends inside a value.
    eof_value,            // "EOF while parsing a value"
    eof_string,           // "EOF while parsing a string"
    eof_list,             // "EOF while parsing a list"
    eof_object,           // "EOF while parsing an object"
    invalid_code_point,   // a string whose raw bytes are not UTF-8
    number_out_of_range,  // a number too large for a double
    recursion_limit,      // nesting beyond the reader's budget
    invalid_type,         // a value of another type than the field's
    invalid_value,        // an integer outside the field's range
    unknown_field,        // a key the record does not have
    duplicate_field,      // a key given twice in one record
    missing_field,        // a required key the record does not give
    invalid_length,       // the array form of a record with too few elements
    unknown_variant,      // a call-to-action kind that is not one of the allowed kinds
};

// The reasons grouped as programs act on them.
enum class ReadErrorKind {
    syntax,          // expected_value .. expected_object_comma_or_end
    end_of_input,    // eof_value .. eof_object
    invalid_string,  // invalid_code_point
    number_out_of_range,
    recursion_limit,
    invalid_type,
    invalid_value,
    unknown_field,
    duplicate_field,
    missing_field,
    invalid_length,
    unknown_variant,
};

ReadErrorKind kind_of(Reason reason);

// The types a value can be expected to have: the integer widths, a string, the message list, a
// null, and the records.
enum class ValueType : unsigned char { none, u8, u32, u64, i64, string, sequence, unit, feed, message, cta };

// "u8", "a string", "a sequence", "unit", "struct Cta": how the reader's texts name a type.
std::string_view type_name(ValueType type);

bool is_integer_type(ValueType type);

// The record an error is in: a feed, a message, a call to action, or the object form of a call
// to action's kind ({"open_license": null}).
enum class RecordKind : unsigned char { none, feed, message, cta, kind };

// What stood where a value of another type or range was expected.
enum class FoundValue { none, null, boolean, string, sequence, map, integer, floating };

struct ReadError {
    Reason reason = Reason::expected_value;
    std::size_t offset = 0;  // the position: every byte before it has been taken
    std::size_t line = 1;    // 1 plus the line feeds before `offset`
    std::size_t column = 0;  // the bytes between the start of that line and `offset`

    // unknown_field, duplicate_field, unknown_variant: the key or kind as read (decoded);
    // missing_field: the key that is missing. `key_offset`: the key's opening quotation mark,
    // `key_end`: just after its closing one.
    std::string key;
    std::size_t key_offset = NO_OFFSET;
    std::size_t key_end = NO_OFFSET;
    std::size_t first_key_offset = NO_OFFSET;         // duplicate_field: the first occurrence's quotation mark
    std::span<const std::string_view> expected_keys;  // unknown_field: the record's keys; unknown_variant: the kinds

    // invalid_type, invalid_value: the type expected, what stood there instead and how the text
    // names it ("string \"2026\"", "integer `300`"), and where that value began (it ends at
    // `offset`, except an array or object, which is left untaken).
    ValueType expected = ValueType::none;
    FoundValue found = FoundValue::none;
    std::string found_text;
    std::size_t value_offset = NO_OFFSET;
    // invalid_type, invalid_value: the field whose value it is, as its record names it, when the
    // value is a member's own value (none for an element of an array, or a record's array form).
    std::string_view field;

    // invalid_length: the elements given and the record's number of fields.
    std::size_t length = 0;
    std::size_t fields = 0;

    std::size_t invalid_byte_offset = NO_OFFSET;  // invalid_code_point: the first byte that is not UTF-8

    // The innermost record being read and its `{` or `[`; none when the error comes before the
    // top-level record begins.
    RecordKind record = RecordKind::none;
    std::size_t record_offset = NO_OFFSET;
    std::size_t message_index = NO_MESSAGE;  // the index of the message being read
    std::optional<std::string> message_id;   // that message's id, when it had been read

    ReadErrorKind kind() const { return kind_of(reason); }

    // The reader's words without the position ("trailing comma", "missing field `body`").
    std::string words() const;

    // "{words} at line {line} column {column}", the text every program shows.
    std::string text() const;
};

}  // namespace mt
