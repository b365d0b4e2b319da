// Feeds made in code for benchmarks and fuzz seeds, so their size and shape are exact.
#pragma once

#include <string>

namespace mt::testing {

// The largest realistic feed: 50 valid messages with 80-letter Cyrillic titles and long mixed
// bodies, just under the 64 KiB limit. Every rule accepts it.
std::string largest_realistic_feed();

// The draft of such a feed with a mistake in every message that --fix repairs (typographic or
// single quotes, a comma missing or too many, a comment), just under the limit itself.
std::string largest_realistic_draft();

// A feed of about the same size whose bytes are almost all one long Cyrillic string (parsing
// only: its body is far over the length rule).
std::string long_string_feed();

}  // namespace mt::testing
