// Reading and rules without authentication, with the very texts of feed acceptance: the one
// place where a reading error or the first rule failure becomes the text a program prints.
#include "messages/acceptance.h"
#include "messages/reading.h"
#include "messages/rules.h"

namespace mt {

Result<Feed> accept_unauthenticated_document(std::string_view feed_bytes) {
    auto feed = parse_feed(feed_bytes);
    if (!feed) return fail(std::string(PARSE_ERROR_PREFIX) + feed.error().text());
    const std::vector<RuleFailure> first = find_rule_failures(*feed, 1);
    if (!first.empty()) return fail(failure_text(*feed, first.front()));
    return std::move(*feed);
}

}  // namespace mt
