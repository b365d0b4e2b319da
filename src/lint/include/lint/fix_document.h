// Fixing a whole document: the fixes of its problems applied in rounds (fix, read again, fix
// what the next reading finds) until nothing fixable is left or a bound of rounds is reached.
// A document that is accepted is never changed; fixing a fixed document changes nothing.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lint/problems.h"

namespace mt::lint {

// The largest draft fixing takes: as large as the page opens. Safe fixes may bring a draft over
// the feed's limit under it (a long comment, a file in another encoding).
inline constexpr std::size_t MAX_DRAFT_BYTES = 16 * 1024 * 1024;

struct FixOptions {
    bool unsafe = false;  // also apply the suggestions
    CheckOptions check;   // how each round checks the document
};

struct FixOutcome {
    std::string document;              // the fixed document (the input when nothing applied)
    std::vector<std::string> applied;  // the titles of the fixes applied, in the order applied
    std::vector<Problem> problems;     // find_problems of the fixed document, as if it were within the limit
};

// The document fixed in rounds. A document over MAX_DRAFT_BYTES is left as it is, and so is a
// round that would take it over that or leave it worse (more errors once it reads, or a reading
// that stops earlier).
FixOutcome fix_document(std::string_view document, const FixOptions& options);

// Where the byte at `offset` of a document stands once `edits` are made (in any order); a byte
// the edits replaced stands where its replacement begins.
std::size_t moved_offset(std::size_t offset, std::span<const Edit> edits);

// `document` with `edits` made (in any order; an edit that overlaps one before it is skipped).
std::string apply_edits(std::string_view document, std::span<const Edit> edits);

}  // namespace mt::lint
