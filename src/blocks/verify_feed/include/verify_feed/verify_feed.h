// Feed acceptance: the one operation the checking tool needs. It authenticates the exact bytes
// with the compiled-in key, then reads them and holds the feed and every message to the fixed
// rules, stopping at the first failure. No byte of an unsigned or tampered feed reaches the
// reader.
#pragma once

#include <string_view>

#include "common/error.h"
#include "messages/messages.h"

namespace mt {

// Key, signature, parse, feed rules, message rules, in that order; the first failure's text.
// The caller owns the accepted feed.
Result<Feed> verify_feed(std::string_view feed_bytes, std::string_view signature_text);

}  // namespace mt
