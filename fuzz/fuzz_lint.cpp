// The draft checker against full acceptance on the same bytes after a good signature: it
// accepts exactly what verify_feed accepts, its first problem carries verify_feed's text as the
// tool prints it, warnings only follow the errors, every problem is located inside the document,
// the human report of the problems has exactly its lines (no byte of the document breaks one
// or drives a terminal), and wherever the reader stops in JSON's syntax the draft's reading has
// recognised a mistake at that byte.
#include <algorithm>
#include <cstdint>
#include <string>

#include "common/escape.h"
#include "invariants.h"
#include "lint/problems.h"
#include "lint/report.h"
#include "messages/messages.h"
#include "support/dev_signer.h"
#include "support/reading_stop.h"
#include "verify_feed/verify_feed.h"

using namespace mt::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = as_text(data, size);
    const auto accepted = mt::verify_feed(bytes, mt::testing::dev_sign_hex(bytes));
    const auto problems = mt::lint::find_problems(bytes, {.now = 1'800'000'000, .warnings = true, .zone = {}});
    // Warnings come after every error and are no part of the verdict.
    const auto first_warning = std::ranges::find(problems, mt::lint::Severity::warning, &mt::lint::Problem::severity);
    require(std::all_of(first_warning, problems.end(),
                        [](const auto& p) { return p.severity == mt::lint::Severity::warning; }),
            "warnings after the errors");
    const bool has_error = first_warning != problems.begin();

    if (accepted) {
        require(!has_error, "accepted without errors", has_error ? problems.front().text : "");
    } else {
        require(has_error, "refused with an error", accepted.error().text);
        require(problems.front().text == mt::escape_unprintable(accepted.error().text), "same first text",
                problems.front().text);
    }
    for (const auto& problem : problems) {
        require(problem.offset <= size && problem.span.begin <= size, "located in the document");
        require(is_one_line(problem.text), "one line", problem.text);
        require(problem.span.begin <= problem.span.end && problem.span.end <= bytes.size(), "span within the document",
                problem.text);
        for (const auto& note : problem.notes) require(is_one_line(note), "one-line note", note);
    }
    const std::string unrecognised = mt::testing::unrecognised_stop(bytes);
    require(unrecognised.empty(), "the reading recognises the reader's stop", unrecognised);
    const mt::lint::FileProblems file{"draft.json", std::string(bytes), problems, std::nullopt};
    const std::string human = mt::lint::report(mt::lint::Format::human, {&file, 1}, {});
    std::size_t lines = 1;
    for (const auto& problem : problems) lines += 3 + problem.notes.size() + (problem.fix ? 1 : 0);
    require(static_cast<std::size_t>(std::count(human.begin(), human.end(), '\n')) == lines, "report lines", human);
    require(human.find_first_of("\r\x1b") == std::string::npos, "no carriage return or escape", human);
    return 0;
}
