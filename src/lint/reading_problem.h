// The problem of a document that does not read: the reader's text, where an author is pointed
// and the notes on what went wrong, all made from the reader's structured error (never from its
// text). Internal to the lint core.
#pragma once

#include <string_view>

#include "draft_reading.h"
#include "lint/problems.h"
#include "messages/read_error.h"

namespace mt::lint {

// `reading` is the draft's whole reading (read in `zone`, where a date without a zone is read).
Problem reading_problem(std::string_view document, const ReadError& error, const DraftReading& reading,
                        const AuthorZone& zone);

}  // namespace mt::lint
