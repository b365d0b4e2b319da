// How the reader names a number in its errors.
#include <charconv>
#include <string>

#include "common/digits.h"
#include "json_cursor.h"

namespace mt::json {
namespace {

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

}  // namespace mt::json
