// The draft checker against full acceptance on the same bytes after a good signature: it
// accepts exactly what verify_feed accepts, its first problem carries verify_feed's text as the
// tool prints it, and every problem is located inside the document.
#include <cstdint>
#include <string>

#include "common/escape.h"
#include "invariants.h"
#include "lint/problems.h"
#include "messages/messages.h"
#include "verify_feed/verify_feed.h"
#include "support/dev_signer.h"

using namespace mt::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = as_text(data, size);
    const auto accepted = mt::verify_feed(bytes, mt::testing::dev_sign_hex(bytes));
    const auto problems = mt::lint::find_problems(bytes);

    if (accepted) {
        require(problems.empty(), "accepted without problems", problems.empty() ? "" : problems.front().text);
        return 0;
    }
    require(!problems.empty(), "refused with a problem", accepted.error().text);
    require(problems.front().text == mt::escape_unprintable(accepted.error().text), "same first text",
            problems.front().text);
    for (const auto& problem : problems) {
        require(problem.at.offset <= size && problem.at.line >= 1 && problem.at.column >= 1, "located in the document");
        require(is_one_line(problem.text), "one line", problem.text);
    }
    return 0;
}
