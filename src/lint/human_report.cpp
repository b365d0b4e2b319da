#include "common/digits.h"
#include "common/escape.h"
#include "excerpt.h"
#include "lint/plural.h"
#include "report_parts.h"

namespace mt::lint {
namespace {

constexpr std::string_view BOLD = "\x1b[1m", ERROR_COLOR = "\x1b[1;31m", WARNING_COLOR = "\x1b[1;33m",
                           NOTE_COLOR = "\x1b[1;36m", RESET = "\x1b[0m";

struct Counts {
    std::size_t errors = 0;
    std::size_t warnings = 0;
};

Counts counts_of(const FileProblems& file) {
    Counts counts;
    if (file.read_error) counts.errors = 1;
    for (const Problem& p : file.problems) ++(is_warning(p) ? counts.warnings : counts.errors);
    return counts;
}

std::string problems_count(std::size_t n) { return count_of(n, "проблема", "проблемы", "проблем"); }
std::string warnings_count(std::size_t n) { return count_of(n, "предупреждение", "предупреждения", "предупреждений"); }

// The line after the notes that names the fix, if the problem has one.
template <class Paint>
std::string human_fix(const Problem& p, const std::string& gutter, const Paint& paint) {
    if (!p.fix) return "";
    return " " + gutter + " = " + paint(NOTE_COLOR, fix_label(*p.fix)) + " " + escape_controls(p.fix->title) + "\n";
}

}  // namespace

std::string human_report(std::span<const FileProblems> files, const ReportOptions& options) {
    const auto paint = [&](std::string_view code, std::string_view text) {
        return options.color ? std::string(code) + std::string(text) + std::string(RESET) : std::string(text);
    };
    std::string out;
    Counts total;
    for (const FileProblems& file : files) {
        const Counts counts = counts_of(file);
        total.errors += counts.errors;
        total.warnings += counts.warnings;
        if (file.read_error) continue;  // its line is on standard error
        const std::string shown_path = escape_controls(file.path);
        const LineIndex lines = report_lines(file);
        for (const Problem& p : file.problems) {
            const Place at = place_of(file.bytes, lines, p);
            const std::string_view color = is_warning(p) ? WARNING_COLOR : ERROR_COLOR;
            out += paint(BOLD, shown_path + ":" + decimal(at.line) + ":" + decimal(at.column) + ":") + " ";
            if (p.after_first_error) out += paint(NOTE_COLOR, std::string(AFTER_FIRST_ERROR) + ":") + " ";
            if (is_warning(p)) out += paint(WARNING_COLOR, "предупреждение:") + " ";
            out += paint(BOLD, p.text) + "\n";
            const Excerpt shown = excerpt(file.bytes, p.span.begin, p.span.end);
            const std::string number = decimal(at.line);
            const std::string gutter(number.size(), ' ');
            out += " " + number + " | " + shown.line + "\n";
            out += " " + gutter + " | " + paint(color, shown.caret) + "\n";
            for (const std::string& note : p.notes)
                out += " " + gutter + " = " + paint(NOTE_COLOR, "примечание:") + " " + note + "\n";
            out += human_fix(p, gutter, paint);
        }
        // Among several files only those with something to say are named; the totals follow.
        if (files.size() > 1 && file.problems.empty()) continue;
        std::string summary = counts.errors == 0 ? "проблем нет" : problems_count(counts.errors);
        if (counts.warnings > 0) summary += ", " + warnings_count(counts.warnings);
        out += paint(BOLD, shown_path + ": " + summary) + "\n";
    }
    if (files.size() > 1) {
        std::string summary =
            "итого: " + count_of(files.size(), "файл", "файла", "файлов") + ", " + problems_count(total.errors);
        if (options.warnings) summary += ", " + warnings_count(total.warnings);
        out += paint(BOLD, summary) + "\n";
    }
    return out;
}

}  // namespace mt::lint
