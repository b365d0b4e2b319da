#include "report_parts.h"

namespace mt::lint {

bool is_warning(const Problem& p) { return p.severity == Severity::warning; }

LineIndex report_lines(const FileProblems& file) {
    // A file with nothing to place is not read through.
    return LineIndex(file.problems.empty() ? std::string_view() : std::string_view(file.bytes), LineEnds::line_feed);
}

Place place_of(std::string_view bytes, const LineIndex& lines, const Problem& p) {
    const TextPosition begin = lines.position(bytes, p.span.begin, Unit::code_point);
    const TextPosition end = lines.position(bytes, p.span.end, Unit::code_point);
    return {begin.line + 1, begin.character + 1, end.line + 1, end.character + 1};
}

std::string_view severity_name(const Problem& p) { return is_warning(p) ? "warning" : "error"; }

std::string_view fix_label(const Fix& fix) { return fix.safe ? "исправление:" : "предложение:"; }

std::string with_notes(const Problem& p) {
    std::string message = p.text;
    for (const std::string& note : p.notes) message += "\nпримечание: " + note;
    return message;
}

}  // namespace mt::lint
