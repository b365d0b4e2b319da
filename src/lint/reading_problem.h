// The problem of a document that does not read: the reader's text, where an author is pointed
// and the notes on what went wrong, all made from the reader's structured error (never from its
// text). Internal to the lint core.
#pragma once

#include <string_view>

#include "lint/problems.h"
#include "messages/read_error.h"

namespace mt::lint {

// A date without a zone is read in `zone`.
Problem reading_problem(std::string_view document, const ReadError& error, const AuthorZone& zone);

}  // namespace mt::lint
