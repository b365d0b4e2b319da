// Lines and columns of byte offsets, as the reports show them. Internal to the lint core.
#pragma once

#include <string_view>
#include <vector>

#include "lint/problems.h"

namespace mt::lint {

// Fills in the line and column of every location from its shown offset, in one pass over
// `bytes` however many there are.
void fill_lines_and_columns(std::string_view bytes, std::vector<Location*> locations);

// For an offset just after a line feed, the end of the line before, as editors show it: its
// carriage return when it ends in CR LF, else its line feed. Any other offset as it is.
std::size_t end_of_line_before(std::string_view bytes, std::size_t offset);

}  // namespace mt::lint
