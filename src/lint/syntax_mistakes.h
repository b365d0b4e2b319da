// The mistakes of JSON's syntax an author makes, each kind made here once with its note and
// its repair: the draft's reading calls these where it meets one. Internal to the lint core.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "lint/diagnosis.h"

namespace mt::lint {

// What the grammar wanted where it could not follow the draft.
enum class Wanted : unsigned char { value, key, colon, comma_or_end, nothing };

// Where the grammar stood: what it wanted, inside which brackets (the innermost last: '{' or
// '['), and whether the current member of an object is past its colon.
struct GrammarPlace {
    Wanted wanted = Wanted::value;
    std::string_view open;
    bool member_value = false;
};

// The line a mistake of this kind is reported with when it is found past the reader's first
// error, where no reader's text tells it.
std::string_view mistake_text(Mistake mistake);

Diagnosis byte_order_mark_mistake();

// Bytes that are not UTF-8 from `first` on, in a string that ends at `end`: the note names the
// code pages that read the document as Russian and quotes the string read in each; the fix
// recodes the document when exactly one does (its byte-order mark, a mistake of its own, left).
Diagnosis not_utf8_mistake(std::string_view bytes, std::size_t first, std::size_t end);

// A document in UTF-16, told by its byte-order mark, that reads as `text` in UTF-8.
Diagnosis utf16_mistake(std::string_view bytes, std::string text);

// The comment [begin, end), removed with the spaces around it when it ends its line, and with
// its whole line when nothing else is on it.
Diagnosis comment_mistake(std::string_view bytes, std::size_t begin, std::size_t end);

// A string whose quotation mark at `mark` is typographic (or single, `single`), repaired by
// `edits`; the reader stops for it at a byte from `mark` to `stop_last`.
Diagnosis quote_mistake(std::string_view bytes, std::size_t mark, std::size_t stop_last, bool single,
                        std::vector<Edit> edits);

// The comma at `comma` before the `}` or `]` at `bracket`.
Diagnosis trailing_comma_mistake(std::string_view bytes, std::size_t comma, std::size_t bracket);

// The comma at `comma` where a key or a value belongs: after another comma, or `first` in its
// brackets. Removed.
Diagnosis extra_comma_mistake(std::size_t comma, bool first);

// The key [key_begin, key_end) with no colon before the value at `value`: the colon inserted.
Diagnosis missing_colon_mistake(std::string_view bytes, std::size_t key_begin, std::size_t key_end, std::size_t value);

// A record at `next` where its list's record before it, still open, has a key due after the
// comma at `comma`: that record's `}` probably missing before the comma.
Diagnosis unclosed_record_mistake(std::size_t comma, std::size_t next);

// Members in the array opened at `open` (closed at `close`, NO_OFFSET when it is not found), the
// reader stopping at the colon `colon`: the brackets probably meant as braces.
Diagnosis members_in_array_mistake(std::size_t open, std::size_t close, std::size_t colon);

// A text whose straight quotation mark at `first` ends its string early; `inner` holds every
// straight mark inside it, escaped by the suggestion.
Diagnosis quote_in_text_mistake(std::string_view bytes, std::size_t first, const std::vector<std::size_t>& inner);

// A comma certainly missing at `value_end`, before the key or record at `next`.
Diagnosis missing_comma_mistake(std::string_view bytes, std::size_t value_end, std::size_t next, char open);

// A white space character at `at` between tokens that JSON does not allow: replaced by a space,
// or removed between two digits (a number split by it).
Diagnosis foreign_space_mistake(std::string_view bytes, std::size_t at);

// The control byte at `at` inside a string. A line end is written as `\n`, certainly so for a
// lone carriage return only when `cr_lines` (the document's lines end in lone carriage returns);
// a tab becomes a space as a suggestion (a title or body may not hold one, escaped or not).
Diagnosis control_mistake(std::string_view bytes, std::size_t at, bool cr_lines);

// The escape whose backslash is at `at` that JSON does not have.
Diagnosis escape_mistake(std::size_t at);

// What stands at `at`, where the grammar could not follow the draft; `at` may be the end.
Diagnosis stuck_mistake(std::string_view bytes, std::size_t at, const GrammarPlace& place);

// The date [begin, end) written without quotation marks where a value belongs (`2027-01-01`),
// when it is a date: the reader stops at `stop`.
std::optional<Diagnosis> unquoted_date_mistake(std::string_view bytes, std::size_t begin, std::size_t end,
                                               std::size_t stop, const AuthorZone& zone);

// Whether the reader would take the whole run of number characters [begin, end) as one
// number; where it would not, the byte it stops at (`end` when the number is cut short).
std::size_t number_stop(std::string_view bytes, std::size_t begin, std::size_t end);

// The character at `at` that a string cannot begin with, mistaken for a bare word: whether it
// begins one (an ASCII letter, `_` or `$`, or a Cyrillic letter).
bool starts_bare_word(std::string_view bytes, std::size_t at);

}  // namespace mt::lint
