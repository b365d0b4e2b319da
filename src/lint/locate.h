// Lines and columns of byte offsets, as the reports show them. Internal to the lint core.
#pragma once

#include <string_view>
#include <vector>

#include "lint/problems.h"

namespace mt::lint {

// Fills in the line and column of every location from its offset, in one pass over `bytes`
// however many there are.
void fill_lines_and_columns(std::string_view bytes, std::vector<Location*> locations);

}  // namespace mt::lint
