// The author's time zone as the page hands it to the module: the browser's clock knows the zone
// and the module's C library does not, so the page gives its name and the offsets from UTC it
// has in effect, each from an instant on (see zoneOf in checker.mjs).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lint/author_zone.h"

namespace mt::web {

// `spans` holds `count` pairs: Unix seconds, then the offset east of UTC in seconds from then on
// (until the next pair's instant), in order. No pairs, or the name "UTC": UTC.
struct PageZone {
    std::string_view name;
    const std::int64_t* spans = nullptr;
    std::size_t count = 0;

    // The zone as the lint core takes it; valid while this value and its spans live.
    lint::AuthorZone author_zone() const;
};

}  // namespace mt::web
