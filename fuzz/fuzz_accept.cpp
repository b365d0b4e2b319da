// Parse plus rules on bytes taken as already authenticated: every refusal is one line of feed
// acceptance, and an accepted feed passes the rules again.
#include <cstdint>

#include "invariants.h"
#include "messages/messages.h"

using namespace mt::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto feed = mt::accept_unauthenticated_document(as_text(data, size));
    if (!feed) {
        require(is_one_line(feed.error().text), "refusal is one line", feed.error().text);
        require(starts_with(feed.error().text, "messages: "), "refusal has its prefix", feed.error().text);
        return 0;
    }
    require(mt::find_rule_failures(*feed, 1).empty(), "accepted feed passes the rules again");
    require(feed->messages.size() <= mt::MAX_MESSAGES, "accepted feed is within the count");
    return 0;
}
