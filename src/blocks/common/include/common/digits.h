// Digits: numbers in diagnostics are plain decimal, with a minus sign when negative; hexadecimal
// digits are written with a chosen case and width, and read one at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace mt {

void append_decimal(std::string& out, std::uint64_t value);
std::string decimal(std::uint64_t value);
std::string signed_decimal(std::int64_t value);

// Which letters hexadecimal digits are written with: code points, bytes and percent-escapes in
// upper case, JSON's and the escapes' digits in lower case.
enum class HexLetters { lower, upper };

// Appends `value` in hexadecimal: its digits without leading zeros, zeros in front up to
// `min_digits`.
void append_hex(std::string& out, std::uint32_t value, std::size_t min_digits, HexLetters letters);

// The value of one hexadecimal digit of either case, or -1 for any other byte (so a byte of a
// multi-byte character is never a digit).
int hex_digit_value(char c);

}  // namespace mt
