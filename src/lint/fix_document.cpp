#include "lint/fix_document.h"

#include <algorithm>
#include <optional>

#include "draft_check.h"
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

// What a fix is offered for, to tell once it is made whether that is gone: a mistake of the
// draft's JSON by its kind, or a problem by its code; and the bytes it stood on.
struct Target {
    std::optional<Mistake> mistake;  // none: a problem's
    Code code = Code::json;
    std::size_t begin = 0;
    std::size_t end = 0;
};

Target target_of(const Diagnosis& d) {
    const Span at = d.shown.value_or(Span{d.stop, d.stop + 1});
    return {.mistake = d.mistake, .code = Code::json, .begin = at.begin, .end = std::max(at.end, at.begin + 1)};
}

Target target_of(const Problem& p) {
    const std::size_t begin = p.span.begin;
    return {.mistake = std::nullopt, .code = p.code, .begin = begin, .end = std::max(p.span.end, begin + 1)};
}

// The fixes of one round and their edits, never overlapping.
struct Plan {
    std::vector<Edit> edits;
    std::vector<std::string> titles;
    std::vector<Target> targets;

    bool add(const Fix& fix, const Target& target) {
        for (const Edit& edit : fix.edits)
            for (const Edit& taken : edits)
                if (edit.begin < taken.end && taken.begin < edit.end) return false;
        for (const Edit& edit : fix.edits)
            for (const Edit& taken : edits)
                if (edit.begin == taken.begin && (edit.begin == edit.end) == (taken.begin == taken.end)) return false;
        edits.insert(edits.end(), fix.edits.begin(), fix.edits.end());
        titles.push_back(fix.title);
        targets.push_back(target);
        return true;
    }
};

// Whether a round left the document no worse: a document that read still reads with no more
// errors; one that did not read now reads, or its reader stops no earlier than before.
bool no_worse(const std::vector<Problem>& before, const std::vector<Problem>& after, const std::vector<Edit>& edits) {
    if (reads(before)) return reads(after) && error_count(after) <= error_count(before);
    if (reads(after)) return true;
    return after.front().offset >= moved_offset(before.front().offset, edits);
}

// Whether every fix of `plan` took away what it was offered for: an edit removed all of its
// bytes, or nothing of its kind stands where it stood once the edits are made (`mistakes` and
// `problems` being the fixed document's). A key renamed into one the record has already is
// still a problem there.
bool each_removed_its_own(const Plan& plan, const std::vector<Diagnosis>& mistakes,
                          const std::vector<Problem>& problems) {
    for (const Target& target : plan.targets) {
        // What stands there once it is removed is the next thing alike (`\uFFFB\uFFFB`), not it.
        const bool removed = std::any_of(plan.edits.begin(), plan.edits.end(), [&](const Edit& e) {
            return e.begin <= target.begin && target.end <= e.end && e.replacement.empty();
        });
        if (removed) continue;
        const std::size_t at = moved_offset(target.begin, plan.edits);
        const bool left =
            target.mistake ? std::any_of(mistakes.begin(), mistakes.end(),
                                         [&](const Diagnosis& d) {
                                             return d.mistake == *target.mistake && target_of(d).begin == at;
                                         })
                           : std::any_of(problems.begin(), problems.end(),
                                         [&](const Problem& p) { return p.code == target.code && p.span.begin == at; });
        if (left) return false;
    }
    return true;
}

}  // namespace

std::size_t moved_offset(std::size_t offset, std::span<const Edit> given) {
    std::vector<Edit> edits(given.begin(), given.end());
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
    DraftCheck checked = check_draft(out.document, options.check);
    std::vector<Problem> problems = std::move(checked.check.problems);
    std::vector<Diagnosis> mistakes = std::move(checked.mistakes);  // none once it reads
    const auto wanted = [&](const Fix& fix) { return fix.safe || options.unsafe; };
    for (int round = 0; round < MAX_ROUNDS; ++round) {
        // Every repair of the syntax at once, with the fix of the problem that stopped the
        // reader; or, once the document reads, the fixes of every problem. Should that leave
        // the document worse, or leave a mistake one of them was for, the first fix alone.
        Plan all, first;
        for (const Diagnosis& mistake : mistakes)
            if (mistake.fix && wanted(*mistake.fix)) all.add(*mistake.fix, target_of(mistake));
        for (const Problem& problem : problems) {
            if (!problem.fix || !wanted(*problem.fix)) continue;
            all.add(*problem.fix, target_of(problem));
            // The first fix: of the problem that stopped the reader, not of one found after it.
            if (first.titles.empty() && !problem.after_first_error) first.add(*problem.fix, target_of(problem));
        }
        bool progressed = false;
        for (Plan* plan : {&all, &first}) {
            if (plan->edits.empty() || (plan == &first && first.edits == all.edits)) continue;
            std::string candidate = apply_edits(out.document, plan->edits);
            if (candidate.size() > MAX_DRAFT_BYTES || candidate == out.document) continue;
            DraftCheck next = check_draft(candidate, options.check);
            std::vector<Problem> after = std::move(next.check.problems);
            if (!no_worse(problems, after, plan->edits)) continue;
            std::vector<Diagnosis> mistakes_after = std::move(next.mistakes);
            if (!each_removed_its_own(*plan, mistakes_after, after)) continue;
            out.document = std::move(candidate);
            out.applied.insert(out.applied.end(), plan->titles.begin(), plan->titles.end());
            problems = std::move(after);
            mistakes = std::move(mistakes_after);
            progressed = true;
            break;
        }
        if (!progressed) break;
    }
    out.problems = std::move(problems);
    return out;
}

}  // namespace mt::lint
