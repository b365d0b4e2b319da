// UTF-8 as the text helpers read it: well-formed sequences of the Unicode standard, so overlong
// forms, surrogates and values above U+10FFFF are invalid. Every function takes arbitrary bytes
// without undefined behaviour; what happens to invalid UTF-8 is stated with each.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mt {

bool is_valid_utf8(std::string_view bytes);

// The length of the longest prefix of `bytes` that is valid UTF-8: the offset of the first byte
// that begins no valid character, or bytes.size().
std::size_t valid_utf8_prefix(std::string_view bytes);

void append_utf8(std::string& out, char32_t value);

// The first character of non-empty `bytes`: its value and its length in bytes. A byte that
// begins no valid character stands alone: `valid` false, `length` 1.
struct Character {
    char32_t value;
    std::size_t length;
    bool valid;
};
Character first_character(std::string_view bytes);

// Where the character that byte `offset` of `bytes` falls in begins: the offset of its lead byte
// when `offset` is one of the continuation bytes after it, else `offset` itself. The character
// may be cut short by the end of `bytes` (a file read up to a limit): its lead byte and the
// continuation bytes up to `offset` decide.
std::size_t character_start(std::string_view bytes, std::size_t offset);

// The end of the character that `offset` falls inside: past the continuation bytes from there
// on, or `offset` itself when it begins a character.
std::size_t character_end(std::string_view bytes, std::size_t offset);

// The number of characters in `bytes`, each byte that begins no valid character counted as one
// (as an editor counts the columns of a line).
std::size_t count_characters(std::string_view bytes);

// Decodes `bytes`, replacing each maximal invalid subsequence with U+FFFD.
std::string decode_utf8_lossy(std::string_view bytes);

}  // namespace mt
