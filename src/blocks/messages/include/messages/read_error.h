// What went wrong while reading a feed document, and where: the value the reader returns on
// failure. Programs that act on a reading error (the authors' checker points at the key, the
// record, the first byte that is not UTF-8) use its fields; people read `text()`, which is made
// from them here and nowhere else.
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

enum class ReadErrorKind {
    syntax,               // a byte that cannot stand where it is ("expected value", "trailing comma", ...)
    end_of_input,         // the document ends inside a value ("EOF while parsing ...")
    invalid_string,       // a string whose raw bytes are not UTF-8 ("invalid unicode code point")
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

// What stood where a value of another type or range was expected.
enum class FoundValue { none, null, boolean, string, sequence, map, integer, floating };

struct ReadError {
    ReadErrorKind kind = ReadErrorKind::syntax;
    std::string message;     // the reader's words, without the position
    std::size_t offset = 0;  // the position: every byte before it has been taken
    std::size_t line = 1;    // 1 plus the line feeds before `offset`
    std::size_t column = 0;  // the bytes between the start of that line and `offset`

    // unknown_field, duplicate_field, unknown_variant: the key or kind as read (decoded);
    // missing_field: the key that is missing. `key_offset`: the key's opening quotation mark.
    std::string key;
    std::size_t key_offset = NO_OFFSET;
    std::size_t first_key_offset = NO_OFFSET;         // duplicate_field: the first occurrence's quotation mark
    std::span<const std::string_view> expected_keys;  // unknown_field: the record's keys; unknown_variant: the kinds

    std::string_view expected;          // invalid_type, invalid_value: the type as named ("u8", "a string", "struct Cta")
    FoundValue found = FoundValue::none;  // invalid_type, invalid_value: what stood there instead

    std::size_t invalid_byte_offset = NO_OFFSET;  // invalid_string: the first byte that is not UTF-8

    // The innermost record being read ("Feed", "Message", "Cta") and its `{` or `[`; empty when
    // the error comes before the top-level record begins.
    std::string_view record;
    std::size_t record_offset = NO_OFFSET;
    std::size_t message_index = NO_MESSAGE;  // the index of the message being read
    std::optional<std::string> message_id;  // that message's id, when it had been read

    // "{message} at line {line} column {column}", the text every program shows.
    std::string text() const;
};

}  // namespace mt
