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

int hex_digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace mt
