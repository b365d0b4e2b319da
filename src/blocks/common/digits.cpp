#include "common/digits.h"

#include <charconv>

namespace mt {

void append_decimal(std::string& out, std::uint64_t value) {
    char digits[20];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

std::string decimal(std::uint64_t value) {
    std::string out;
    append_decimal(out, value);
    return out;
}

std::string signed_decimal(std::int64_t value) {
    return value < 0 ? "-" + decimal(std::uint64_t{0} - static_cast<std::uint64_t>(value))
                     : decimal(static_cast<std::uint64_t>(value));
}

void append_hex(std::string& out, std::uint32_t value, std::size_t min_digits, HexLetters letters) {
    const char* digits = letters == HexLetters::upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::size_t count = 1;
    while (count < 8 && (value >> (4 * count)) != 0) ++count;
    if (min_digits > count) out.append(min_digits - count, '0');
    while (count-- > 0) out += digits[(value >> (4 * count)) & 0xF];
}

int hex_digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace mt
