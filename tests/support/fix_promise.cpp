#include "support/fix_promise.h"

#include <algorithm>

#include "lint/fix_document.h"

namespace mt::testing {
namespace {

using lint::Edit;
using lint::Problem;

// A problem's text without the reader's position at its end, which the edits may move.
std::string_view unplaced(std::string_view text) {
    const std::size_t at = text.rfind(" at line ");
    return at == std::string_view::npos ? text : text.substr(0, at);
}

bool same_problem(const Problem& before, const Problem& after, const std::vector<Edit>& edits) {
    // A rule's text names the value, which the fix changed; the reader's names what it met.
    return before.code == after.code && lint::moved_offset(before.span.begin, edits) == after.span.begin &&
           (before.code != lint::Code::json || unplaced(before.text) == unplaced(after.text));
}

}  // namespace

std::string broken_fix(std::string_view document, const lint::CheckOptions& options, bool unsafe) {
    const std::vector<Problem> before = lint::find_problems(document, options);
    for (const Problem& problem : before) {
        if (!problem.fix || (!problem.fix->safe && !unsafe)) continue;
        const std::vector<Edit>& edits = problem.fix->edits;
        const std::string fixed = lint::apply_edits(document, edits);
        const std::vector<Problem> after = lint::find_problems(fixed, options);
        const std::string named = "«" + problem.fix->title + "» for «" + problem.text + "»";
        // A safe fix that replaced every byte of its problem took that problem away: the same
        // problem found there now is the next one alike (`\uFFFB\uFFFB`), not it.
        const std::size_t shown = problem.span.begin, end = std::max(problem.span.end, shown + 1);
        const bool replaced = problem.fix->safe && std::any_of(edits.begin(), edits.end(), [&](const Edit& e) {
                                  return e.begin <= shown && end <= e.end;
                              });
        if (!replaced &&
            std::any_of(after.begin(), after.end(), [&](const Problem& p) { return same_problem(problem, p, edits); }))
            return named + ": the problem is still there";
        if (!problem.fix->safe) continue;  // a suggestion is what was probably meant: it may meet another rule
        // A recoding turns runs of bytes beyond ASCII into letters: a mistake they make where they
        // stand (a word without quotation marks) was there before, unreadable.
        if (std::all_of(edits.begin(), edits.end(), [&](const Edit& e) {
                const std::string_view run = document.substr(e.begin, e.end - e.begin);
                return !run.empty() && std::all_of(run.begin(), run.end(), [](char c) { return (c & 0x80) != 0; });
            }))
            continue;
        // An error that starts on what the fix wrote, which was not there before. (A record the
        // fix completes may show a field missing from its start: that is not on the fix's bytes.)
        for (const Problem& p : after) {
            if (p.severity != lint::Severity::error) continue;
            // A key given twice was twice in the draft already: the fix only lets the reader see it.
            if (p.text.find(": duplicate field `") != std::string::npos) continue;
            // Where only white space is left, the problem is the document's end, not the fix.
            if (fixed.find_first_not_of(" \t\r\n", p.span.begin) == std::string::npos) continue;
            if (std::any_of(before.begin(), before.end(), [&](const Problem& b) { return same_problem(b, p, edits); }))
                continue;
            for (const Edit& edit : edits) {
                const std::size_t begin = lint::moved_offset(edit.begin, edits), end = begin + edit.replacement.size();
                if (p.span.begin >= begin && p.span.begin < end)
                    return named + ": it brings «" + p.text + "» on its own bytes";
            }
        }
    }
    return "";
}

}  // namespace mt::testing
