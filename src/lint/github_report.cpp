#include "common/digits.h"
#include "common/escape.h"
#include "report_parts.h"

namespace mt::lint {
namespace {

// Workflow command escaping: in the message `%`, CR and LF; in a property also `:` and `,`.
std::string github_escape(std::string_view text, bool property) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '%':
                out += "%25";
                break;
            case '\r':
                out += "%0D";
                break;
            case '\n':
                out += "%0A";
                break;
            case ':':
                out += property ? "%3A" : ":";
                break;
            case ',':
                out += property ? "%2C" : ",";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// The line after the notes that names the fix, as annotations show it.
std::string fix_text(const Problem& p) {
    return p.fix ? "\n" + std::string(fix_label(*p.fix)) + " " + escape_controls(p.fix->title) : "";
}

// The end of a problem's span as a workflow command names it, when the span is more than one
// character: the line of its last character and, when that is the line it starts on, its column
// (both inclusive).
std::string github_end(const Problem& p, const Place& at) {
    const bool one_line = at.end_line == at.line;
    if (p.span.end <= p.span.begin || (one_line && at.end_column <= at.column + 1)) return {};
    const std::size_t last_line = at.end_column == 1 && at.end_line > at.line ? at.end_line - 1 : at.end_line;
    std::string out = ",endLine=" + decimal(one_line ? at.line : last_line);
    if (one_line) out += ",endColumn=" + decimal(at.end_column - 1);
    return out;
}

}  // namespace

std::string github_report(std::span<const FileProblems> files) {
    std::string out;
    for (const FileProblems& file : files) {
        const std::string path = github_escape(escape_controls(file.path), true);
        if (file.read_error)
            out += "::error file=" + path +
                   "::" + github_escape(read_problem_text(file.path, *file.read_error), false) + "\n";
        const LineIndex lines = report_lines(file);
        for (const Problem& p : file.problems) {
            const Place at = place_of(file.bytes, lines, p);
            out += "::" + std::string(severity_name(p)) + " file=" + path + ",line=" + decimal(at.line) +
                   ",col=" + decimal(at.column) + github_end(p, at) +
                   "::" + github_escape(with_notes(p) + fix_text(p), false) + "\n";
        }
    }
    return out;
}

}  // namespace mt::lint
