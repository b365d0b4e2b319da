// The four ways the draft checker writes the problems of a run over one or more files.
//
//   human   "FILE:LINE:COL: text" ("предупреждение: text" for a warning), the source line with
//           a caret under the column (both counted in terminal cells), the notes, and a line
//           per file with its number of problems and warnings; after more than one file only
//           the files with problems get that line, and a last line has the totals (colour
//           only when asked for).
//   json    JSON Lines: one object per problem.
//   json_array  the same objects as one JSON array, for a caller that embeds them in JSON.
//   github  GitHub Actions workflow commands, "::error file=…,line=…,col=…::text" (::warning
//           for a warning), one per problem, so a pull request shows each problem on its line.
//   sarif   one SARIF 2.1.0 log with one run: the rules with their codes and descriptions, a
//           result per problem, columns in code points as ours are.
//
// A file that could not be read is a `read` problem in json and github, with no line, and a
// tool execution notification in sarif; human output leaves it to standard error (the front
// end writes that line) and only counts it.
//
// The path is printed exactly as given, except that human and github output escape whatever
// would break the line or drive a terminal; JSON strings escape as JSON does, SARIF URIs as
// URIs do.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lint/problems.h"

namespace mt::lint {

enum class Format { human, json, json_array, github, sarif };

// One file of a run: the bytes read and the problems found in them, or why it was not read.
struct FileProblems {
    std::string path;  // as the reports show it
    std::string bytes;
    std::vector<Problem> problems;
    std::optional<std::string> read_error;  // the system's words, when the file was not read
};

struct ReportOptions {
    bool color = false;             // human only
    bool warnings = true;           // whether warnings were looked for (the counts name them)
    std::string_view tool_version;  // sarif's tool.driver.version
};

std::string report(Format format, std::span<const FileProblems> files, const ReportOptions& options);

// The text of the `read` problem of a file that could not be read, as standard error also has it.
std::string read_problem_text(std::string_view path, std::string_view error);

}  // namespace mt::lint
