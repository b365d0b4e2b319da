// Reading and rules on bytes that nobody has authenticated, with exactly the texts feed
// acceptance gives after a good signature. A program that only checks drafts links this and
// no key.
#pragma once

#include <string_view>

#include "common/error.h"
#include "messages/records.h"

namespace mt {

// How feed acceptance words a reading error: this, then the reader's text.
inline constexpr std::string_view PARSE_ERROR_PREFIX = "messages: JSON ленты не разбирается: ";

// parse_feed, then the rules; the text of the first failure (PARSE_ERROR_PREFIX and the
// reader's text, or the rule's text).
Result<Feed> accept_unauthenticated_document(std::string_view feed_bytes);

}  // namespace mt
