// The author's time zone as a table of the offsets from UTC it has in effect, each from an instant
// on: how a JavaScript host hands its clock's zone to a WebAssembly module, whose C library has
// no zone data (the page's, and the editors' server's; clock_zone.mjs makes the table).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lint/author_zone.h"

namespace mt::lint {

// `spans` holds `count` pairs: Unix seconds, then the offset east of UTC in seconds from then on
// (until the next pair's instant), in order. No pairs, or the name "UTC": UTC.
struct ZoneTable {
    std::string_view name;
    const std::int64_t* spans = nullptr;
    std::size_t count = 0;

    // The zone as the lint core takes it; valid while this value and its spans live.
    AuthorZone author_zone() const;
};

}  // namespace mt::lint
