// Fixing any bytes, with the safe fixes and with the suggestions too: a document the rules
// accept is never changed by the safe fixes (nor by the suggestions when none is offered),
// fixing a fixed document changes nothing, a document that reads still reads with no more
// errors, a document over the limit is left alone, and every fix a problem carries has edits
// inside the document, in order and never overlapping; each fix applied alone removes its problem,
// and a safe one brings no error on its own bytes.
#include <algorithm>
#include <cstdint>
#include <string>

#include "invariants.h"
#include "lint/fix_document.h"
#include "support/fix_promise.h"

using namespace mt::fuzz;
using namespace mt::lint;

namespace {

constexpr CheckOptions CHECK = {.now = 1'800'000'000, .warnings = true, .zone = {}};

bool reads(const std::vector<Problem>& problems) { return problems.empty() || problems.front().code != Code::json; }

std::size_t errors(const std::vector<Problem>& problems) {
    return static_cast<std::size_t>(std::count_if(problems.begin(), problems.end(),
                                                  [](const Problem& p) { return p.severity == Severity::error; }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = as_text(data, size);
    if (size > 65536) {
        require(fix_document(bytes, {.unsafe = true, .check = CHECK}).document == bytes, "over the limit unchanged");
        return 0;
    }
    const std::vector<Problem> before = find_problems(bytes, CHECK);
    bool offered = false;
    for (const Problem& problem : before) {
        if (!problem.fix) continue;
        offered = true;
        std::size_t end = 0;
        for (const Edit& edit : problem.fix->edits) {
            require(edit.begin >= end && edit.begin <= edit.end && edit.end <= size, "edits in order, in the document");
            end = edit.end;
        }
        require(!problem.fix->edits.empty() && is_one_line(problem.fix->title), "a fix has edits and a title");
    }
    for (const bool unsafe : {false, true})
        if (const std::string broken = mt::testing::broken_fix(bytes, CHECK, unsafe); !broken.empty())
            require(false, "a fix keeps its promise", broken);
    for (const bool unsafe : {false, true}) {
        const FixOptions options{.unsafe = unsafe, .check = CHECK};
        const FixOutcome fixed = fix_document(bytes, options);
        if (errors(before) == 0 && (!unsafe || !offered)) require(fixed.document == bytes, "accepted unchanged");
        require(fixed.applied.empty() == (fixed.document == bytes), "applied exactly when changed");
        require(fix_document(fixed.document, options).document == fixed.document, "idempotent", fixed.document);
        const std::vector<Problem> after = find_problems(fixed.document, CHECK);
        if (reads(before)) require(reads(after) && errors(after) <= errors(before), "no more errors", fixed.document);
    }
    return 0;
}
