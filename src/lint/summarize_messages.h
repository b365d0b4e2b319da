// The summary of each message of a document that reads, made from what the one pass over it
// found: the feed, where its values stand, and the counts the length rules made. Internal to
// the lint core.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "lint/message_summary.h"
#include "messages/messages.h"

namespace mt::lint {

// One summary per message in document order; `at` and `counts` hold an entry for each.
std::vector<MessageSummary> summarize_messages(std::string_view document, const Feed& feed, const FeedLocations& at,
                                               std::span<const TextCounts> counts);

}  // namespace mt::lint
