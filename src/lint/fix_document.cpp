#include "lint/fix_document.h"

#include <algorithm>

#include "draft_reading.h"
#include "messages/messages.h"

namespace mt::lint {
namespace {

// As ruff bounds its rounds: a document that still changes after this many is left there.
constexpr int MAX_ROUNDS = 100;

bool is_error(const Problem& p) { return p.severity == Severity::error; }

bool reads(const std::vector<Problem>& problems) { return problems.empty() || problems.front().code != Code::json; }

std::size_t error_count(const std::vector<Problem>& problems) {
    return static_cast<std::size_t>(std::count_if(problems.begin(), problems.end(), is_error));
}

// The fixes of one round and their edits, never overlapping.
struct Plan {
    std::vector<Edit> edits;
    std::vector<std::string> titles;

    bool add(const Fix& fix) {
        for (const Edit& edit : fix.edits)
            for (const Edit& taken : edits)
                if (edit.begin < taken.end && taken.begin < edit.end) return false;
        for (const Edit& edit : fix.edits)
            for (const Edit& taken : edits)
                if (edit.begin == taken.begin && (edit.begin == edit.end) == (taken.begin == taken.end)) return false;
        edits.insert(edits.end(), fix.edits.begin(), fix.edits.end());
        titles.push_back(fix.title);
        return true;
    }
};

// Where the byte at `offset` of the document before `edits` stands after them; a byte the
// edits replaced stands where its replacement begins.
std::size_t moved(std::size_t offset, std::vector<Edit> edits) {
    std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.begin < b.begin; });
    std::ptrdiff_t shift = 0;
    for (const Edit& edit : edits) {
        if (edit.begin < offset && offset < edit.end) offset = edit.begin;
        if (edit.end <= offset && !(edit.begin == edit.end && edit.begin == offset))
            shift += static_cast<std::ptrdiff_t>(edit.replacement.size()) -
                     static_cast<std::ptrdiff_t>(edit.end - edit.begin);
    }
    return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(offset) + shift);
}

// Whether a round left the document no worse: a document that read still reads with no more
// errors; one that did not read now reads, or its reader stops no earlier than before.
bool no_worse(const std::vector<Problem>& before, const std::vector<Problem>& after, const std::vector<Edit>& edits) {
    if (reads(before)) return reads(after) && error_count(after) <= error_count(before);
    if (reads(after)) return true;
    return after.front().at.offset >= moved(before.front().at.offset, edits);
}

}  // namespace

std::string apply_edits(std::string_view document, std::span<const Edit> edits) {
    std::vector<Edit> sorted(edits.begin(), edits.end());
    // Insertions before a replacement that begins at the same byte.
    std::stable_sort(sorted.begin(), sorted.end(), [](const Edit& a, const Edit& b) {
        return a.begin != b.begin ? a.begin < b.begin : (a.begin == a.end) > (b.begin == b.end);
    });
    std::string out;
    out.reserve(document.size() + 64);
    std::size_t at = 0;
    for (const Edit& edit : sorted) {
        if (edit.begin < at || edit.end < edit.begin || edit.end > document.size()) continue;
        out.append(document.substr(at, edit.begin - at));
        out += edit.replacement;
        at = edit.end;
    }
    out.append(document.substr(at));
    return out;
}

FixOutcome fix_document(std::string_view document, const FixOptions& options) {
    FixOutcome out;
    out.document = std::string(document);
    if (document.size() > MAX_DRAFT_BYTES) return out;
    std::vector<Problem> problems = find_problems(out.document, options.check);
    const auto wanted = [&](const Fix& fix) { return fix.safe || options.unsafe; };
    for (int round = 0; round < MAX_ROUNDS; ++round) {
        // Every repair of the syntax at once, with the fix of the problem that stopped the
        // reader; or, once the document reads, the fixes of every problem. Should that leave
        // the document worse, the first fix alone.
        Plan all, first;
        if (!reads(problems))
            for (const Diagnosis& mistake : draft_mistakes(out.document, options.check.zone))
                if (mistake.fix && wanted(*mistake.fix)) all.add(*mistake.fix);
        for (const Problem& problem : problems) {
            if (!problem.fix || !wanted(*problem.fix)) continue;
            all.add(*problem.fix);
            // The first fix: of the problem that stopped the reader, not of one found after it.
            if (first.titles.empty() && !problem.after_first_error) first.add(*problem.fix);
        }
        bool progressed = false;
        for (Plan* plan : {&all, &first}) {
            if (plan->edits.empty() || (plan == &first && first.edits == all.edits)) continue;
            std::string candidate = apply_edits(out.document, plan->edits);
            if (candidate.size() > MAX_DRAFT_BYTES || candidate == out.document) continue;
            std::vector<Problem> after = find_problems(candidate, options.check);
            if (!no_worse(problems, after, plan->edits)) continue;
            out.document = std::move(candidate);
            out.applied.insert(out.applied.end(), plan->titles.begin(), plan->titles.end());
            problems = std::move(after);
            progressed = true;
            break;
        }
        if (!progressed) break;
    }
    out.problems = std::move(problems);
    return out;
}

}  // namespace mt::lint
