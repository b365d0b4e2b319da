#include "report_parts.h"

namespace mt::lint {

bool is_warning(const Problem& p) { return p.severity == Severity::warning; }

std::string_view severity_name(const Problem& p) { return is_warning(p) ? "warning" : "error"; }

std::string_view fix_label(const Fix& fix) { return fix.safe ? "исправление:" : "предложение:"; }

std::string with_notes(const Problem& p) {
    std::string message = p.text;
    for (const std::string& note : p.notes) message += "\nпримечание: " + note;
    return message;
}

}  // namespace mt::lint
