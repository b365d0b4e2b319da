// The warnings of a feed that reads: values every rule lets pass that the application will
// likely never show as meant. They change neither the verdict nor the exit status. Internal to
// the lint core.
//
//   milliseconds    start_at or end_at beyond 10^11 in magnitude, likely milliseconds where the
//                   rest of a feed counts seconds (the application attaches no unit: a heuristic)
//   invisible-text  a title or body not blank after trimming, yet made only of characters that
//                   show nothing (White_Space, Cf, Default_Ignorable_Code_Point, Grapheme_Extend)
//   ended-window    end_at, read as Unix seconds, is not after `now`
#pragma once

#include <cstdint>
#include <vector>

#include "lint/problems.h"
#include "messages/messages.h"

namespace mt::lint {

// Message by message, each message's warnings in the order above (start_at before end_at,
// title before body). Locations are offsets only; lines and columns are for the caller to fill.
std::vector<Problem> find_warnings(const Feed& feed, const FeedLocations& at, std::int64_t now);

}  // namespace mt::lint
