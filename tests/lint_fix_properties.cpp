// What fixing and the draft's reading promise, over every document in the given directories (the
// documents the reader and acceptance tests hold, the fuzz seeds, the example): where the strict
// reader stops in JSON's syntax, the reading has recognised a mistake at that byte; and, with
// the safe fixes and with the suggestions too:
//   - a document the rules accept is never changed by the safe fixes, nor by the suggestions
//     when none of its problems (warnings) offers one;
//   - fixing a fixed document changes nothing;
//   - a document that reads still reads after fixing, with no more errors;
//   - a fix was applied exactly when the document changed.
//   lint_fix_properties DIR...
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "lint/fix_document.h"
#include "support/fix_promise.h"
#include "support/reading_stop.h"
#include "support/run_program.h"

namespace fs = std::filesystem;
using namespace mt::lint;

namespace {

constexpr CheckOptions CHECK = {.now = 1'774'500'000, .warnings = true, .zone = {}};

bool reads(const std::vector<Problem>& problems) { return problems.empty() || problems.front().code != Code::json; }

std::size_t errors(const std::vector<Problem>& problems) {
    return static_cast<std::size_t>(std::count_if(problems.begin(), problems.end(),
                                                  [](const Problem& p) { return p.severity == Severity::error; }));
}

// The first promise `document` breaks when fixed, or "".
std::string broken_promise(const std::string& document, bool unsafe) {
    const FixOptions options{.unsafe = unsafe, .check = CHECK};
    const FixOutcome fixed = fix_document(document, options);
    if (document.size() > 65536) return fixed.document == document ? "" : "a document over the limit changed";
    const std::vector<Problem> before = find_problems(document, CHECK);
    const bool offered = std::any_of(before.begin(), before.end(), [](const Problem& p) { return p.fix.has_value(); });
    if (errors(before) == 0 && (!unsafe || !offered) && fixed.document != document)
        return "an accepted document changed";
    if (fix_document(fixed.document, options).document != fixed.document) return "fixing again changed it";
    const std::vector<Problem> after = find_problems(fixed.document, CHECK);
    if (reads(before) && (!reads(after) || errors(after) > errors(before))) return "more errors after fixing";
    if (fixed.applied.empty() != (fixed.document == document)) return "applied titles and changes disagree";
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: lint_fix_properties DIR...\n";
        return 2;
    }
    std::vector<fs::path> documents;
    for (int i = 1; i < argc; ++i)
        for (const auto& entry : fs::recursive_directory_iterator(argv[i]))
            if (entry.is_regular_file() && entry.path().extension() != ".sig") documents.push_back(entry.path());
    std::sort(documents.begin(), documents.end());
    std::size_t failed = 0, changed = 0;
    for (const fs::path& path : documents) {
        const std::string document = mt::testing::slurp(path);
        if (const std::string broken = mt::testing::unrecognised_stop(document); !broken.empty()) {
            ++failed;
            std::cerr << "BROKEN " << path << ": " << broken << "\n";
        }
        for (const bool unsafe : {false, true}) {
            if (const std::string broken = broken_promise(document, unsafe); !broken.empty()) {
                ++failed;
                std::cerr << "BROKEN " << path << (unsafe ? " (with suggestions)" : "") << ": " << broken << "\n";
            }
            if (const std::string broken = mt::testing::broken_fix(document, CHECK, unsafe); !broken.empty()) {
                ++failed;
                std::cerr << "BROKEN " << path << (unsafe ? " (a suggestion)" : " (a safe fix)") << ": " << broken
                          << "\n";
            }
        }
        changed += fix_document(document, {.unsafe = true, .check = CHECK}).document != document;
    }
    std::cout << "reading and fix properties over " << documents.size() << " documents (" << changed
              << " changed by fixing): " << failed << " broken\n";
    return failed == 0 && !documents.empty() ? 0 : 1;
}
