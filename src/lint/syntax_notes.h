// Notes on the reading errors an author makes while typing JSON by hand: a line break inside a
// string, white space that only looks like a space, a comma too many or too few, a key without
// quotation marks, a dash for a minus, spaces inside a number, brackets left open at the end of
// the file. Each is told from the bytes around the error and the error's kind, never from the
// reader's text, and points at the byte the author has to change. Internal to the lint core.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "draft_reading.h"
#include "messages/read_error.h"

namespace mt::lint {

// A note and the place it is about: `shown` is where the author is pointed, `end` one past the
// last byte of what the note is about (equal to `shown` for a place where something is missing).
struct LocatedNote {
    std::string text;
    std::size_t shown;
    std::size_t end;
};

// The note on a syntax or end-of-input error of `document`, when it is one of those above;
// `reading` reaches the byte the reader stopped at (the end for an end-of-input error).
std::optional<LocatedNote> syntax_note(std::string_view document, const DraftReading& reading, const ReadError& error);

}  // namespace mt::lint
