// Seams of the messages block for its tests, fuzzers and benchmarks; the product does not use
// this header.
#pragma once

#include <string_view>

#include "json_cursor.h"
#include "messages/messages.h"
#include "string_scan.h"
#include "text_facts.h"

namespace mt {

// parse_feed with another nesting budget, so that tests can reach the recursion limit.
Read<Feed> parse_feed_with_budget(std::string_view document, unsigned nesting_budget);

}  // namespace mt
