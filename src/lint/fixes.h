// The fix a problem carries, where its repair is certain (safe) or probable (unsafe). Called
// where the problems are made; the fixes themselves are made in syntax_repairs.cpp (what
// stops the reader in JSON syntax) and value_fixes.cpp (keys and values the feed does not
// take). Internal to the lint core.
#pragma once

#include <optional>
#include <string_view>

#include "lint/problems.h"
#include "messages/read_error.h"

namespace mt::lint {

// The repair of what stopped the reader, if any.
std::optional<Fix> reading_fix(std::string_view document, const ReadError& error);

// The repair of a value a rule refused or warned about (a version of one or two parts, a time
// in milliseconds), if any.
std::optional<Fix> value_fix(std::string_view document, const Problem& problem);

}  // namespace mt::lint
