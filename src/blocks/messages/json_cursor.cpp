#include "messages/json_cursor.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fast_float/fast_float.h>
#include <limits>

#include "common/text.h"
#include "messages/messages_internal.h"

namespace mt::json {
namespace {

constexpr std::string_view EOF_STRING = "EOF while parsing a string";
constexpr std::string_view CONTROL_CHARACTER = "control character (\\u0000-\\u001F) found while parsing a string";
constexpr std::string_view INVALID_ESCAPE = "invalid escape";
constexpr std::string_view INVALID_CODE_POINT = "invalid unicode code point";
constexpr std::string_view LONE_SURROGATE = "lone leading surrogate in hex escape";
constexpr std::string_view UNEXPECTED_END_OF_HEX_ESCAPE = "unexpected end of hex escape";
constexpr std::string_view EXPECTED_IDENT = "expected ident";
constexpr std::string_view INVALID_NUMBER = "invalid number";
constexpr std::string_view NUMBER_OUT_OF_RANGE = "number out of range";

// Bytes that end a run of plain string content: the quotation mark, the backslash and the raw
// control bytes, which a string may not hold.
constexpr std::array<bool, 256> STRING_STOP = [] {
    std::array<bool, 256> stop{};
    for (int b = 0; b < 0x20; ++b) stop[b] = true;
    stop['"'] = true;
    stop['\\'] = true;
    return stop;
}();

// Sixteen bytes handled lane by lane; GCC and Clang lower this to SSE2 or NEON.
using Lanes = unsigned char __attribute__((vector_size(16)));
constexpr std::size_t LANES = sizeof(Lanes);
constexpr Lanes LANE_INDEX = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

Lanes load_lanes(const char* at) {
    Lanes lanes;
    std::memcpy(&lanes, at, sizeof lanes);
    return lanes;
}

bool any_lane(Lanes lanes) {
    std::uint64_t halves[2];
    std::memcpy(halves, &lanes, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

// Whether lanes 0 to `last` of `bytes` hold well-formed UTF-8 of one to three bytes per
// character, given the byte one and two places before each lane (zero where that byte is not
// to be looked at). Every byte is judged as a lane of its own block, so the bytes before are
// only asked whether they lead. False also for four-byte characters: the caller then checks
// the run the slow way.
bool lanes_valid_utf8(Lanes bytes, Lanes one_before, Lanes two_before, unsigned last) {
    const Lanes lead2 = (Lanes)((one_before & 0xE0) == 0xC0);
    const Lanes lead3_one = (Lanes)((one_before & 0xF0) == 0xE0);
    const Lanes lead3_two = (Lanes)((two_before & 0xF0) == 0xE0);
    const Lanes continuation = (Lanes)((bytes & 0xC0) == 0x80);
    // A continuation byte stands exactly where a lead byte before it asks for one.
    Lanes wrong = continuation ^ (lead2 | lead3_one | lead3_two);
    // C0 and C1 (always overlong), four-byte leads and the bytes F5..FF.
    wrong |= (Lanes)(((bytes & 0xFE) == 0xC0) | ((bytes & 0xF0) == 0xF0));
    // Overlong three-byte forms (E0 80..9F) and encoded surrogates (ED A0..BF).
    wrong |=
        (Lanes)(((one_before == 0xE0) & ((bytes & 0xE0) == 0x80)) | ((one_before == 0xED) & ((bytes & 0xE0) == 0xA0)));
    if (last < LANES - 1) wrong &= (Lanes)(LANE_INDEX <= (unsigned char)last);
    return !any_lane(wrong);
}

}  // namespace
}  // namespace mt::json

namespace mt {

using namespace json;

// Strings are most of a feed, so sixteen bytes are tested at once, for the stop and for
// well-formed UTF-8 together.
PlainRun plain_run(std::string_view bytes, std::size_t from) {
    constexpr bool LANES_IN_ADDRESS_ORDER = std::endian::native == std::endian::little;
    // In the first block of a run, the bytes before the run are not part of it.
    constexpr Lanes FIRST_ONE_BEFORE = {0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    constexpr Lanes FIRST_TWO_BEFORE = {0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    std::size_t at = from;
    bool valid = true;
    while (bytes.size() - at >= LANES && at >= 2 && LANES_IN_ADDRESS_ORDER) {
        const char* p = bytes.data() + at;
        const Lanes lanes = load_lanes(p);
        const Lanes stop = (Lanes)((lanes < 0x20) | (lanes == '"') | (lanes == '\\'));
        unsigned last = LANES - 1;
        if (any_lane(stop)) {
            std::uint64_t halves[2];
            std::memcpy(halves, &stop, sizeof halves);
            last = halves[0] ? std::countr_zero(halves[0]) / 8 : 8 + std::countr_zero(halves[1]) / 8;
        }
        // The stop lane is checked too, so a character cut short by the stop is caught.
        if (valid) {
            Lanes one_before = load_lanes(p - 1);
            Lanes two_before = load_lanes(p - 2);
            if (at == from) {
                one_before &= FIRST_ONE_BEFORE;
                two_before &= FIRST_TWO_BEFORE;
            }
            // Plain ASCII, the common case, needs no more than this.
            if (any_lane((lanes | one_before | two_before) & 0x80))
                valid = lanes_valid_utf8(lanes, one_before, two_before, last);
        }
        if (last < LANES - 1 || stop[LANES - 1]) return {at + last, valid};
        at += LANES;
    }
    // The last few bytes of the input: found byte by byte, validated by the caller.
    while (at < bytes.size() && !STRING_STOP[static_cast<unsigned char>(bytes[at])]) ++at;
    return {at, false};
}

PlainRun plain_run_scalar(std::string_view bytes, std::size_t from) {
    std::size_t at = from;
    while (at < bytes.size() && !STRING_STOP[static_cast<unsigned char>(bytes[at])]) ++at;
    // The stop byte is judged with the run: a character it cuts short is not well-formed.
    const std::size_t judged = at < bytes.size() ? at + 1 : at;
    return {at, is_valid_utf8(bytes.substr(from, judged - from))};
}

}  // namespace mt

namespace mt::json {
namespace {

bool is_digit(int c) { return c >= '0' && c <= '9'; }

// The shortest text that reads back as `value`: plain decimal with at least one digit after the
// point for magnitudes from 1e-5 up to below 1e16, otherwise `d[.ddd]e±x`.
std::string float_text(double value) {
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));  // "-d.ddde-xx"

    std::string out;
    if (text.front() == '-') {
        out += '-';
        text.remove_prefix(1);
    }
    const std::size_t e = text.find('e');
    std::string_view mantissa = text.substr(0, e);
    std::string digits(1, mantissa.front());
    if (mantissa.size() > 2) digits.append(mantissa.substr(2));
    const bool negative_exponent = text[e + 1] == '-';
    int exponent = 0;
    std::from_chars(text.data() + e + 2, text.data() + text.size(), exponent);
    if (negative_exponent) exponent = -exponent;

    if (exponent >= 16 || exponent < -5) {
        out += digits.front();
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += 'e';
        out += negative_exponent ? '-' : '+';
        append_decimal(out, static_cast<std::uint64_t>(negative_exponent ? -exponent : exponent));
    } else if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const auto integral = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() > integral) {
            out.append(digits, 0, integral);
            out += '.';
            out.append(digits, integral);
        } else {
            out += digits;
            out.append(integral - digits.size(), '0');
            out += ".0";
        }
    }
    return out;
}

}  // namespace

std::string describe_number(const Number& number) {
    std::string out;
    switch (number.kind) {
        case Number::Kind::unsigned_integer:
            out = "integer `";
            append_decimal(out, number.magnitude);
            break;
        case Number::Kind::negative_integer:
            out = "integer `-";
            append_decimal(out, number.magnitude);
            break;
        case Number::Kind::floating:
            out = "floating point `" + float_text(number.value);
            break;
    }
    out += '`';
    return out;
}

int Cursor::peek_past_space() {
    while (pos_ < bytes_.size()) {
        const char c = bytes_[pos_];
        if (c != ' ' && c != '\n' && c != '\t' && c != '\r') break;
        ++pos_;
    }
    return peek();
}

std::unexpected<Error> Cursor::error_at(std::size_t offset, std::string_view message) const {
    std::size_t line = 1;
    std::size_t line_start = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        if (bytes_[i] == '\n') {
            ++line;
            line_start = i + 1;
        }
    }
    std::string text(message);
    text += " at line ";
    append_decimal(text, line);
    text += " column ";
    append_decimal(text, offset - line_start);
    return std::unexpected(Error{std::move(text)});
}

Result<void> Cursor::finish_literal(std::string_view rest) {
    for (const char expected : rest) {
        if (pos_ == bytes_.size()) return error(EOF_VALUE);
        if (bytes_[pos_++] != expected) return error(EXPECTED_IDENT);
    }
    return {};
}

Result<std::uint16_t> Cursor::read_hex_escape() {
    if (bytes_.size() - pos_ < 4) {
        pos_ = bytes_.size();
        return error(EOF_STRING);
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
    if (!valid) return error(INVALID_ESCAPE);
    return static_cast<std::uint16_t>(value);
}

Result<void> Cursor::read_string(std::string& out) {
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
        if (pos_ == bytes_.size()) return error(EOF_STRING);

        const char stop = bytes_[pos_++];
        if (stop == '"') {
            if (!valid_utf8) return error(INVALID_CODE_POINT);
            return {};
        }
        if (stop != '\\') return error(CONTROL_CHARACTER);

        if (pos_ == bytes_.size()) return error(EOF_STRING);
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
                if (value >= 0xDC00 && value <= 0xDFFF) return error(LONE_SURROGATE);
                if (value >= 0xD800 && value <= 0xDBFF) {
                    // A leading surrogate must be followed at once by the escape of a trailing one.
                    for (const char expected : {'\\', 'u'}) {
                        if (pos_ == bytes_.size()) return error(EOF_STRING);
                        if (bytes_[pos_++] != expected) return error(UNEXPECTED_END_OF_HEX_ESCAPE);
                    }
                    const auto second = read_hex_escape();
                    if (!second) return std::unexpected(second.error());
                    if (*second < 0xDC00 || *second > 0xDFFF) return error(LONE_SURROGATE);
                    value = 0x10000 + ((value - 0xD800) << 10) + (*second - 0xDC00);
                }
                append_utf8(out, value);
                break;
            }
            default:
                return error(INVALID_ESCAPE);
        }
    }
}

Result<Number> Cursor::read_number(bool negative) {
    const std::size_t start = negative ? pos_ - 1 : pos_;
    if (pos_ == bytes_.size()) return error(EOF_VALUE);

    constexpr std::uint64_t MAX = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t significand = 0;
    bool floating = false;  // an integer too long for 64 bits is read as floating point too
    bool nonzero = false;   // whether any digit before the exponent is non-zero

    const char first = bytes_[pos_++];
    if (first == '0') {
        if (is_digit(peek())) return peek_error(INVALID_NUMBER);
    } else if (is_digit(first)) {
        significand = static_cast<std::uint64_t>(first - '0');
        nonzero = true;
        while (is_digit(peek())) {
            const auto digit = static_cast<std::uint64_t>(bytes_[pos_++] - '0');
            if (significand > MAX / 10 || (significand == MAX / 10 && digit > MAX % 10)) floating = true;
            if (!floating) significand = significand * 10 + digit;
        }
    } else {
        return error(INVALID_NUMBER);
    }

    if (peek() == '.') {
        ++pos_;
        floating = true;
        if (!is_digit(peek())) return peek_error(peek() == END ? EOF_VALUE : INVALID_NUMBER);
        for (; is_digit(peek()); ++pos_)
            if (bytes_[pos_] != '0') nonzero = true;
    }

    if (peek() == 'e' || peek() == 'E') {
        ++pos_;
        floating = true;
        const bool negative_exponent = peek() == '-';
        if (peek() == '-' || peek() == '+') ++pos_;
        if (pos_ == bytes_.size()) return error(EOF_VALUE);
        const char lead = bytes_[pos_++];
        if (!is_digit(lead)) return error(INVALID_NUMBER);
        std::int32_t exponent = lead - '0';
        while (is_digit(peek())) {
            const int digit = bytes_[pos_++] - '0';
            if (exponent > (std::numeric_limits<std::int32_t>::max() - digit) / 10) {
                // An exponent beyond 32 bits: infinite unless the value is zero or vanishes.
                if (nonzero && !negative_exponent) return error(NUMBER_OUT_OF_RANGE);
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
    if (converted.ec != std::errc{} && converted.ec != std::errc::result_out_of_range) return error(INVALID_NUMBER);
    // Too large is an error; too small reads as zero with its sign.
    if (std::isinf(value)) return error(NUMBER_OUT_OF_RANGE);
    if (value == 0.0) value = negative ? -0.0 : 0.0;
    return Number{Number::Kind::floating, 0, value};
}

std::unexpected<Error> Cursor::invalid_type(std::string_view expected) {
    std::string found;
    const int c = peek_past_space();
    switch (c) {
        case 'n':
        case 't':
        case 'f': {
            ++pos_;
            const std::string_view rest = c == 'n' ? "ull" : c == 't' ? "rue" : "alse";
            if (auto literal = finish_literal(rest); !literal) return std::unexpected(std::move(literal.error()));
            found = c == 'n' ? "null" : c == 't' ? "boolean `true`" : "boolean `false`";
            break;
        }
        case '"': {
            ++pos_;
            std::string text;
            if (auto read = read_string(text); !read) return std::unexpected(std::move(read.error()));
            found = "string " + quoted_form(text);
            break;
        }
        case '[':
            found = "sequence";
            break;
        case '{':
            found = "map";
            break;
        case END:
            return peek_error(EOF_VALUE);
        default: {
            if (c != '-' && !is_digit(c)) return peek_error(EXPECTED_VALUE);
            if (c == '-') ++pos_;
            const auto number = read_number(c == '-');
            if (!number) return std::unexpected(number.error());
            found = describe_number(*number);
            break;
        }
    }
    return error("invalid type: " + found + ", expected " + std::string(expected));
}

}  // namespace mt::json
