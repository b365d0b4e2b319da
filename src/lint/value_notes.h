// Notes on a value in the words of its field: a time written as a date or a number written as a
// string, a version that is not three numbers, a title or body longer than it looks. Internal to
// the lint core.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "lint/author_zone.h"
#include "messages/read_error.h"

namespace mt::lint {

// A note and the place it is about: `shown` is where the author is pointed, `end` one past the
// last byte of what the note is about.
struct LocatedNote {
    std::string text;
    std::size_t shown;
    std::size_t end;
};

// For a string that stands where `field` needs something else (`error` is the reader's
// invalid-type error about it): what the field takes, and what to write instead where that
// follows from the string: the seconds of a date for a time (a date without a zone taken in
// `zone`), the number for a number in quotation marks, the object form for a call to action
// given by its kind. Located on the whole string.
std::optional<LocatedNote> string_value_note(std::string_view document, const ReadError& error, std::string_view field,
                                             const AuthorZone& zone);

// For `text` of the version field `field` that is not three numbers: the field, the rule and,
// where the numbers are there, the completed form ("2.1" → "2.1.0").
std::string version_note(std::string_view field, std::string_view text);

// For a title or body over its limit that holds code points an author does not see as characters
// of their own (the parts of a joined emoji, modifiers, combining marks): that characters are
// counted as code points, and how many of those there are. None when there are none.
std::optional<std::string> code_points_note(std::string_view text);

}  // namespace mt::lint
