// Lines and columns of byte offsets, and the extent of what a problem is about, as the reports
// show them. Internal to the lint core.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "lint/problems.h"

namespace mt::lint {

// Fills in the line and column of every location's shown offset and of its span's end, in one
// pass over `bytes` however many there are. An end before the shown offset is first moved to it.
void fill_lines_and_columns(std::string_view bytes, std::vector<Location*> locations);

// For an offset just after a line feed, the end of the line before, as editors show it: its
// carriage return when it ends in CR LF, else its line feed. Any other offset as it is.
std::size_t end_of_line_before(std::string_view bytes, std::size_t offset);

// The end of the token that begins at `offset`: a run of letters, digits, `_`, `-`, `+` and
// `.` (a bare word or number), else one character (a byte that begins no valid character
// counting one); `offset` itself at the end of the bytes.
std::size_t token_end(std::string_view bytes, std::size_t offset);

}  // namespace mt::lint
