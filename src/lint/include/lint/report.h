// The three ways the draft checker writes the problems of one file.
//
//   human   "FILE:LINE:COL: text", the source line with a caret under the column, the notes,
//           and a last line with the number of problems (colour only when asked for).
//   json    JSON Lines: one object per problem.
//   github  GitHub Actions workflow commands, "::error file=…,line=…,col=…::text", one per
//           problem, so a pull request shows each problem on its line.
//
// The path is printed exactly as given, except that human and github output escape whatever
// would break the line or drive a terminal; JSON strings escape as JSON does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lint/problems.h"

namespace mt::lint {

enum class Format { human, json, github };

// The report of one file: `bytes` are the bytes its problems were found in.
std::string report(Format format, std::string_view path, std::string_view bytes, const std::vector<Problem>& problems,
                   bool color);

}  // namespace mt::lint
