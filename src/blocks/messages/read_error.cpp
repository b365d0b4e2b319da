#include "messages/read_error.h"

#include "common/digits.h"
#include "common/escape.h"

namespace mt {
namespace {

// "one of `a`, `b`" (or just "`a`" for a single key), as an unknown field lists the keys.
void append_key_list(std::string& out, std::span<const std::string_view> keys) {
    if (keys.size() != 1) out += "one of ";
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i > 0) out += ", ";
        out += '`';
        out += keys[i];
        out += '`';
    }
}

}  // namespace

ReadErrorKind kind_of(Reason reason) {
    switch (reason) {
        case Reason::eof_value:
        case Reason::eof_string:
        case Reason::eof_list:
        case Reason::eof_object:
            return ReadErrorKind::end_of_input;
        case Reason::invalid_code_point:
            return ReadErrorKind::invalid_string;
        case Reason::number_out_of_range:
            return ReadErrorKind::number_out_of_range;
        case Reason::recursion_limit:
            return ReadErrorKind::recursion_limit;
        case Reason::invalid_type:
            return ReadErrorKind::invalid_type;
        case Reason::invalid_value:
            return ReadErrorKind::invalid_value;
        case Reason::unknown_field:
            return ReadErrorKind::unknown_field;
        case Reason::duplicate_field:
            return ReadErrorKind::duplicate_field;
        case Reason::missing_field:
            return ReadErrorKind::missing_field;
        case Reason::invalid_length:
            return ReadErrorKind::invalid_length;
        case Reason::unknown_variant:
            return ReadErrorKind::unknown_variant;
        default:
            return ReadErrorKind::syntax;
    }
}

std::string_view type_name(ValueType type) {
    switch (type) {
        case ValueType::none:
            return "";
        case ValueType::u8:
            return "u8";
        case ValueType::u32:
            return "u32";
        case ValueType::u64:
            return "u64";
        case ValueType::i64:
            return "i64";
        case ValueType::string:
            return "a string";
        case ValueType::sequence:
            return "a sequence";
        case ValueType::unit:
            return "unit";
        case ValueType::feed:
            return "struct Feed";
        case ValueType::message:
            return "struct Message";
        case ValueType::cta:
            return "struct Cta";
    }
    return "";
}

bool is_integer_type(ValueType type) {
    return type == ValueType::u8 || type == ValueType::u32 || type == ValueType::u64 || type == ValueType::i64;
}

std::string ReadError::words() const {
    switch (reason) {
        case Reason::expected_value:
            return "expected value";
        case Reason::expected_ident:
            return "expected ident";
        case Reason::invalid_number:
            return "invalid number";
        case Reason::invalid_escape:
            return "invalid escape";
        case Reason::control_character:
            return "control character (\\u0000-\\u001F) found while parsing a string";
        case Reason::lone_surrogate:
            return "lone leading surrogate in hex escape";
        case Reason::unexpected_end_of_hex_escape:
            return "unexpected end of hex escape";
        case Reason::trailing_comma:
            return "trailing comma";
        case Reason::trailing_characters:
            return "trailing characters";
        case Reason::key_must_be_a_string:
            return "key must be a string";
        case Reason::expected_colon:
            return "expected `:`";
        case Reason::expected_list_comma_or_end:
            return "expected `,` or `]`";
        case Reason::expected_object_comma_or_end:
            return "expected `,` or `}`";
        case Reason::eof_value:
            return "EOF while parsing a value";
        case Reason::eof_string:
            return "EOF while parsing a string";
        case Reason::eof_list:
            return "EOF while parsing a list";
        case Reason::eof_object:
            return "EOF while parsing an object";
        case Reason::invalid_code_point:
            return "invalid unicode code point";
        case Reason::number_out_of_range:
            return "number out of range";
        case Reason::recursion_limit:
            return "recursion limit exceeded";
        case Reason::invalid_type:
        case Reason::invalid_value:
            return (reason == Reason::invalid_type ? "invalid type: " : "invalid value: ") + found_text +
                   ", expected " + std::string(type_name(expected));
        case Reason::unknown_field:
        case Reason::unknown_variant: {
            std::string out = reason == Reason::unknown_field ? "unknown field `" : "unknown variant `";
            out += escape_unprintable(key);
            out += "`, expected ";
            append_key_list(out, expected_keys);
            return out;
        }
        case Reason::duplicate_field:
            return "duplicate field `" + key + "`";
        case Reason::missing_field:
            return "missing field `" + key + "`";
        case Reason::invalid_length: {
            std::string out = "invalid length ";
            append_decimal(out, length);
            out += ", expected ";
            out += type_name(expected);
            out += " with ";
            append_decimal(out, fields);
            out += fields == 1 ? " element" : " elements";
            return out;
        }
    }
    return {};
}

std::string ReadError::text() const {
    std::string out = words();
    out += " at line ";
    append_decimal(out, line);
    out += " column ";
    append_decimal(out, column);
    return out;
}

}  // namespace mt
