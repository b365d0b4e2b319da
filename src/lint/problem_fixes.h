// The fix a problem carries, where its repair is certain (safe) or probable (unsafe). Called
// where the problems are made; the fixes themselves are made by the draft's reading
// (draft_reading.cpp: what stops the reader in JSON syntax) and value_fixes.cpp (keys and values the feed does not
// take). Internal to the lint core.
#pragma once

#include <optional>
#include <string_view>

#include "draft_reading.h"
#include "lint/problems.h"
#include "messages/read_error.h"

namespace mt::lint {

// The repair of what stopped the reader, if any: of `mistake`, the reading's mistake at the byte
// it stopped at, for an error of JSON's syntax; `reading` reaches as far as the error needs.
std::optional<Fix> reading_fix(std::string_view document, const DraftReading& reading, const ReadError& error,
                               const Diagnosis* mistake, const AuthorZone& zone);

// The repair of a value a rule refused (a version of one or two parts), if any.
std::optional<Fix> value_fix(std::string_view document, const Problem& problem);

}  // namespace mt::lint
