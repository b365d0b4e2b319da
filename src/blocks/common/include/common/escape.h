// The escaped forms in which texts appear inside a one-line diagnostic. Each takes arbitrary
// bytes; invalid UTF-8 is shown as U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace mt {

// The quoted form: `"`, the text with escapes, `"`. The quotation mark and the backslash are
// preceded by a backslash; NUL, tab, line feed and carriage return read \0 \t \n \r; every
// other control, format, private-use or unassigned character, White_Space other than the
// space, default-ignorable code point and grapheme extender reads \u{hex}.
std::string quoted_form(std::string_view text);

// The same escaping for every character except the quotation mark and the backslash, which
// stand as they are, and without surrounding quotation marks. For texts that are printed
// bare but must stay on one line and never carry terminal control sequences.
std::string escape_unprintable(std::string_view text);

// `text` as it is, except the characters that would break a one-line diagnostic or drive a
// terminal: C0 controls, DEL, C1 controls, U+2028, U+2029 and the bidirectional controls
// (U+061C, U+200E, U+200F, U+202A..U+202E, U+2066..U+2069), written \u{hex} (\0 \t \n \r for
// those four). Combining marks, joiners, no-break spaces and the like stand. For paths, flags
// and system texts that must appear exactly as used.
std::string escape_controls(std::string_view text);

}  // namespace mt
