// A mistake in the JSON of a draft, as the draft's tolerant reading recognises it: its kind, the
// bytes at which a strict JSON reader stops for it, what an author is shown, the note and the
// repair. Each kind's note and repair are made side by side, in one place, from the same bytes;
// every front end shows what this value holds and works nothing out again.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lint/author_zone.h"
#include "lint/fix.h"
#include "messages/reading.h"

namespace mt::lint {

enum class Mistake : unsigned char {
    byte_order_mark,       // EF BB BF at the start
    not_utf8,              // bytes that are not UTF-8 (re-encoded when they are Windows-1251)
    comment,               // `//` or `#` to the end of the line, or `/*` to `*/`
    unclosed_comment,      // `/*` that never ends
    typographic_quote,     // a string opened or closed with a typographic quotation mark
    single_quote,          // a string in single quotation marks
    trailing_comma,        // a comma before `}` or `]`
    extra_comma,           // a comma after another (`1,,`) or first in its brackets (`[,`)
    missing_comma,         // two members or elements with no comma between
    missing_colon,         // a key and its value with no colon between
    unclosed_record,       // a record's `}` missing before the comma and the next record
    members_in_array,      // `"key": value` inside `[` and `]`
    foreign_space,         // white space JSON does not allow between tokens
    invisible_character,   // a character that shows nothing, where a token belongs
    line_break_in_string,  // a raw line feed or carriage return inside a string
    tab_in_string,         // a raw tab inside a string
    control_in_string,     // another control byte inside a string
    invalid_escape,        // a backslash that starts no escape JSON has
    quote_in_text,         // a straight quotation mark inside a text, which ends its string early
    unclosed_string,       // the document ends inside a string
    dash_for_minus,        // a dash or a minus sign of typesetting before a number
    space_in_number,       // a number split by a space
    malformed_number,      // a number JSON does not write so (`01`, `1.`, `-`)
    unquoted_date,         // a date written as if it were a number (`2027-01-01`)
    misspelt_literal,      // `tru`, `nul`
    bare_key,              // a key without quotation marks
    bare_value,            // a word without quotation marks where a value belongs
    open_at_end,           // the document ends with brackets still open
    unexpected,            // anything else the grammar cannot follow
};

struct Diagnosis {
    Mistake mistake = Mistake::unexpected;
    // A strict reader stops for this mistake at a byte from `stop` to `stop_last`: one byte but
    // for a string closed by a typographic mark (the reader misreads on to a later byte), a hex
    // escape (it may take all of it first) and the end of the document (its last byte, or the
    // end itself after a line feed).
    std::size_t stop = 0;
    std::size_t stop_last = 0;
    // What the author is shown, when the reading knows it better than the reader's place.
    std::optional<Span> shown;
    std::string note;        // in Russian; empty when the kind needs none here
    std::optional<Fix> fix;  // always safe, where the repair is certain
    bool stops_at(std::size_t byte) const { return byte >= stop && byte <= stop_last; }
};

// Every mistake the reading of `document` meets, in document order: where the grammar can
// follow a draft past a mistake it goes on, so one draft may have many; where it cannot, the
// last is the one it stopped at. A document that is JSON has none.
// A date written without quotation marks and without a zone is read in `zone`.
std::vector<Diagnosis> diagnose_draft(std::string_view document, const AuthorZone& zone = {});

}  // namespace mt::lint
