// What the report formats share, and the formats themselves, one file each (human_report.cpp,
// json_report.cpp, github_report.cpp, sarif_report.cpp); lint/report.h says what each writes.
// Internal to the lint core.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "lint/line_index.h"
#include "lint/report.h"

namespace mt::lint {

bool is_warning(const Problem& p);

// Where a problem's span begins and ends as the reports print it: lines counted as the reader
// counts them and columns in characters, both from 1.
struct Place {
    std::size_t line = 1;
    std::size_t column = 1;
    std::size_t end_line = 1;
    std::size_t end_column = 1;
};
Place place_of(std::string_view bytes, const LineIndex& lines, const Problem& p);

// The index the reports count a file's lines and columns with.
LineIndex report_lines(const FileProblems& file);

// "warning" or "error", as JSON, workflow commands and SARIF name the level.
std::string_view severity_name(const Problem& p);

// How a fix is introduced: a safe one is made by --fix, an unsafe one is only offered.
std::string_view fix_label(const Fix& fix);

// The text with the notes after it on lines of their own, as annotations and results show it.
std::string with_notes(const Problem& p);

std::string human_report(std::span<const FileProblems> files, const ReportOptions& options);
// The objects one per line, or (`array`) as one JSON array.
std::string json_report(std::span<const FileProblems> files, bool array);
std::string github_report(std::span<const FileProblems> files);
std::string sarif_report(std::span<const FileProblems> files, const ReportOptions& options);

}  // namespace mt::lint
