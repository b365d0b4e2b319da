// Digits: numbers in diagnostics are plain decimal; hexadecimal digits are read one at a time.
#pragma once

#include <cstdint>
#include <string>

namespace mt {

void append_decimal(std::string& out, std::uint64_t value);
std::string decimal(std::uint64_t value);

// The value of one hexadecimal digit of either case, or -1 for any other byte (so a byte of a
// multi-byte character is never a digit).
int hex_digit_value(char c);

}  // namespace mt
