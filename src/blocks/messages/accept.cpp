// Reading and rules without authentication, with the very texts of feed acceptance. Kept apart
// from verify_feed so that a program that only reads drafts links no key.
#include "messages/messages.h"

namespace mt {

Result<Feed> accept_unauthenticated_document(std::string_view feed_bytes) {
    auto feed = parse_feed(feed_bytes);
    if (!feed) return fail(std::string(PARSE_ERROR_PREFIX) + feed.error().text);
    if (auto checked = check_feed_rules(*feed); !checked) return std::unexpected(std::move(checked.error()));
    return feed;
}

}  // namespace mt
