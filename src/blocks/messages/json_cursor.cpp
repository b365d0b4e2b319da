#include "json_cursor.h"

#include <cmath>
#include <fast_float/fast_float.h>
#include <limits>

#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "common/white_space.h"
#include "string_scan.h"

namespace mt::json {
namespace {

bool is_digit(int c) { return c >= '0' && c <= '9'; }

}  // namespace

int Cursor::peek_past_space() {
    while (pos_ < bytes_.size()) {
        const char c = bytes_[pos_];
        if (!is_json_space(c)) break;
        ++pos_;
    }
    return peek();
}

bool Cursor::only_space_between(std::size_t from, std::size_t to) const {
    for (std::size_t i = from; i < to && i < bytes_.size(); ++i)
        if (!is_json_space(bytes_[i])) return false;
    return true;
}

ReadError Cursor::error_value(std::size_t offset, Reason reason) const {
    ReadError error;
    error.reason = reason;
    error.offset = offset;
    if (!lines_) return error;
    std::size_t line_start = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        if (bytes_[i] == '\n') {
            ++error.line;
            line_start = i + 1;
        }
    }
    error.column = offset - line_start;
    return error;
}

Read<void> Cursor::finish_literal(std::string_view rest) {
    for (const char expected : rest) {
        if (pos_ == bytes_.size()) return error(Reason::eof_value);
        if (bytes_[pos_++] != expected) return error(Reason::expected_ident);
    }
    return {};
}

Read<std::uint16_t> Cursor::read_hex_escape() {
    if (bytes_.size() - pos_ < 4) {
        pos_ = bytes_.size();
        return error(Reason::eof_string);
    }
    unsigned value = 0;
    bool valid = true;
    for (int i = 0; i < 4; ++i) {
        const int digit = hex_digit_value(bytes_[pos_ + i]);
        valid = valid && digit >= 0;
        value = value << 4 | static_cast<unsigned>(digit & 0xF);
    }
    // All four digits are taken before a bad one is reported.
    pos_ += 4;
    if (!valid) return error(Reason::invalid_escape);
    return static_cast<std::uint16_t>(value);
}

Read<void> Cursor::read_string(std::string& out) {
    const std::size_t start = pos_;
    // Raw UTF-8 is checked run by run, but reported only at the closing quotation mark, so that a
    // control byte or the end of the input later in the string takes precedence.
    bool valid_utf8 = true;
    for (;;) {
        const PlainRun run = plain_run(bytes_, pos_);
        if (run.end > pos_) {
            const std::string_view plain = bytes_.substr(pos_, run.end - pos_);
            if (valid_utf8 && !run.valid_utf8) valid_utf8 = is_valid_utf8(plain);
            out.append(plain);
            pos_ = run.end;
        }
        if (pos_ == bytes_.size()) return error(Reason::eof_string);

        const char stop = bytes_[pos_++];
        if (stop == '"') {
            if (!valid_utf8) {
                ReadError invalid = error_value(pos_, Reason::invalid_code_point);
                invalid.invalid_byte_offset = start + valid_utf8_prefix(bytes_.substr(start, pos_ - start));
                return std::unexpected(std::move(invalid));
            }
            return {};
        }
        if (stop != '\\') return error(Reason::control_character);

        if (pos_ == bytes_.size()) return error(Reason::eof_string);
        switch (bytes_[pos_++]) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                const auto first = read_hex_escape();
                if (!first) return std::unexpected(first.error());
                char32_t value = *first;
                if (value >= 0xDC00 && value <= 0xDFFF) return error(Reason::lone_surrogate);
                if (value >= 0xD800 && value <= 0xDBFF) {
                    // A leading surrogate must be followed at once by the escape of a trailing one.
                    for (const char expected : {'\\', 'u'}) {
                        if (pos_ == bytes_.size()) return error(Reason::eof_string);
                        if (bytes_[pos_++] != expected) return error(Reason::unexpected_end_of_hex_escape);
                    }
                    const auto second = read_hex_escape();
                    if (!second) return std::unexpected(second.error());
                    if (*second < 0xDC00 || *second > 0xDFFF) return error(Reason::lone_surrogate);
                    value = 0x10000 + ((value - 0xD800) << 10) + (*second - 0xDC00);
                }
                append_utf8(out, value);
                break;
            }
            default:
                return error(Reason::invalid_escape);
        }
    }
}

Read<Number> Cursor::read_number(bool negative) {
    const std::size_t start = negative ? pos_ - 1 : pos_;
    if (pos_ == bytes_.size()) return error(Reason::eof_value);

    constexpr std::uint64_t MAX = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t significand = 0;
    bool floating = false;  // an integer too long for 64 bits is read as floating point too
    bool nonzero = false;   // whether any digit before the exponent is non-zero

    const char first = bytes_[pos_++];
    if (first == '0') {
        if (is_digit(peek())) return peek_error(Reason::invalid_number);
    } else if (is_digit(first)) {
        significand = static_cast<std::uint64_t>(first - '0');
        nonzero = true;
        while (is_digit(peek())) {
            const auto digit = static_cast<std::uint64_t>(bytes_[pos_++] - '0');
            if (significand > MAX / 10 || (significand == MAX / 10 && digit > MAX % 10)) floating = true;
            if (!floating) significand = significand * 10 + digit;
        }
    } else {
        return error(Reason::invalid_number);
    }

    if (peek() == '.') {
        ++pos_;
        floating = true;
        if (peek() == END) return peek_error(Reason::eof_value);
        if (!is_digit(peek())) return peek_error(Reason::invalid_number);
        for (; is_digit(peek()); ++pos_)
            if (bytes_[pos_] != '0') nonzero = true;
    }

    if (peek() == 'e' || peek() == 'E') {
        ++pos_;
        floating = true;
        const bool negative_exponent = peek() == '-';
        if (peek() == '-' || peek() == '+') ++pos_;
        if (pos_ == bytes_.size()) return error(Reason::eof_value);
        const char lead = bytes_[pos_++];
        if (!is_digit(lead)) return error(Reason::invalid_number);
        std::int32_t exponent = lead - '0';
        while (is_digit(peek())) {
            const int digit = bytes_[pos_++] - '0';
            if (exponent > (std::numeric_limits<std::int32_t>::max() - digit) / 10) {
                // An exponent beyond 32 bits: infinite unless the value is zero or vanishes.
                if (nonzero && !negative_exponent) return error(Reason::number_out_of_range);
                while (is_digit(peek())) ++pos_;
                return Number{Number::Kind::floating, 0, negative ? -0.0 : 0.0};
            }
            exponent = exponent * 10 + digit;
        }
    }

    if (!floating) {
        if (!negative) return Number{Number::Kind::unsigned_integer, significand, 0.0};
        constexpr std::uint64_t MIN_MAGNITUDE = std::uint64_t{1} << 63;
        if (significand != 0 && significand <= MIN_MAGNITUDE)
            return Number{Number::Kind::negative_integer, significand, 0.0};
        // `-0` and integers below the signed 64-bit range are floating point.
    }

    // fast_float rounds correctly and ignores the locale. Releases differ on a value out of range:
    // older ones report success, newer ones result_out_of_range, but all give infinity or zero.
    const std::string_view text = bytes_.substr(start, pos_ - start);
    double value = 0.0;
    const auto converted = fast_float::from_chars(text.data(), text.data() + text.size(), value);
    if (converted.ec != std::errc{} && converted.ec != std::errc::result_out_of_range)
        return error(Reason::invalid_number);
    // Too large is an error; too small reads as zero with its sign.
    if (std::isinf(value)) return error(Reason::number_out_of_range);
    if (value == 0.0) value = negative ? -0.0 : 0.0;
    return Number{Number::Kind::floating, 0, value};
}

std::unexpected<ReadError> Cursor::invalid_type(ValueType expected) {
    std::string found;
    FoundValue kind = FoundValue::none;
    const int c = peek_past_space();
    const std::size_t start = pos_;
    switch (c) {
        case 'n':
        case 't':
        case 'f': {
            ++pos_;
            const std::string_view rest = c == 'n' ? "ull" : c == 't' ? "rue" : "alse";
            if (auto literal = finish_literal(rest); !literal) return std::unexpected(std::move(literal.error()));
            found = c == 'n' ? "null" : c == 't' ? "boolean `true`" : "boolean `false`";
            kind = c == 'n' ? FoundValue::null : FoundValue::boolean;
            break;
        }
        case '"': {
            ++pos_;
            std::string text;
            if (auto read = read_string(text); !read) return std::unexpected(std::move(read.error()));
            found = "string " + quoted_form(text);
            kind = FoundValue::string;
            break;
        }
        case '[':
            found = "sequence";
            kind = FoundValue::sequence;
            break;
        case '{':
            found = "map";
            kind = FoundValue::map;
            break;
        case END:
            return peek_error(Reason::eof_value);
        default: {
            if (c != '-' && !is_digit(c)) return peek_error(Reason::expected_value);
            if (c == '-') ++pos_;
            const auto number = read_number(c == '-');
            if (!number) return std::unexpected(number.error());
            found = describe_number(*number);
            kind = number->kind == Number::Kind::floating ? FoundValue::floating : FoundValue::integer;
            break;
        }
    }
    ReadError invalid = error_value(pos_, Reason::invalid_type);
    invalid.expected = expected;
    invalid.found = kind;
    invalid.found_text = std::move(found);
    invalid.value_offset = start;
    return std::unexpected(std::move(invalid));
}

}  // namespace mt::json
