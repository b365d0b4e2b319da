// Text helpers shared by every block: UTF-8 decoding, Unicode White_Space trimming and the
// quoted form in which texts taken from a document appear inside a diagnostic.
//
// Texts are UTF-8 byte strings held in std::string / std::string_view. Every function takes
// arbitrary bytes without undefined behaviour; what happens to invalid UTF-8 is stated below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace mt {

bool is_valid_utf8(std::string_view bytes);

void append_utf8(std::string& out, char32_t value);

// The first character of non-empty `bytes`: its value and its length in bytes. A byte that
// begins no valid character stands alone: `valid` false, `length` 1.
struct Character {
    char32_t value;
    std::size_t length;
    bool valid;
};
Character first_character(std::string_view bytes);

// The number of characters in `bytes`, each byte that begins no valid character counted as one
// (as an editor counts the columns of a line).
std::size_t count_characters(std::string_view bytes);

// Decodes `bytes`, replacing each maximal invalid subsequence with U+FFFD.
std::string decode_utf8_lossy(std::string_view bytes);

// `text` without White_Space characters at either end; nothing inside is touched. Trimming
// stops at the first byte that does not begin a valid character.
std::string_view trim_white_space(std::string_view text);

// The quoted form: `"`, the text with escapes, `"`. The quotation mark and the backslash are
// preceded by a backslash; NUL, tab, line feed and carriage return read \0 \t \n \r; every
// other control, format, private-use or unassigned character, White_Space other than the
// space, default-ignorable code point and grapheme extender reads \u{hex}. Invalid UTF-8 is
// shown as U+FFFD.
std::string quoted_form(std::string_view text);

// The same escaping for every character except the quotation mark and the backslash, which
// stand as they are, and without surrounding quotation marks. For texts that are printed
// bare but must stay on one line and never carry terminal control sequences.
std::string escape_unprintable(std::string_view text);

// `text` as it is, except the characters that would break a one-line diagnostic or drive a
// terminal: C0 controls, DEL, C1 controls, U+2028, U+2029 and the bidirectional controls
// (U+061C, U+200E, U+200F, U+202A..U+202E, U+2066..U+2069), written \u{hex} (\0 \t \n \r for
// those four). Combining marks, joiners, no-break spaces and the like stand. Invalid UTF-8 is
// shown as U+FFFD. For paths, flags and system texts that must appear exactly as used.
std::string escape_controls(std::string_view text);

// Appends `text` as a JSON string: between quotation marks, with the quotation mark, the
// backslash and every byte below 0x20 escaped (\n \r \t, the others \u00xx). Other bytes are
// copied as they are, so valid UTF-8 gives valid JSON.
void append_json_string(std::string& out, std::string_view text);

// Numbers in diagnostics are plain decimal.
void append_decimal(std::string& out, std::uint64_t value);
std::string decimal(std::uint64_t value);

// The value of one hexadecimal digit of either case, or -1 for any other byte (so a byte of a
// multi-byte character is never a digit).
int hex_digit_value(char c);

}  // namespace mt
