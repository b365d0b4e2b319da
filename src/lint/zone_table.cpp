#include "lint/zone_table.h"

namespace mt::lint {
namespace {

// The offset at the wall-clock time `local`: that of the span its instant falls in when read
// with the span's own offset. A time the clocks skip is read with the offset before the change,
// as the browser's Date reads it; one they pass twice, with the first.
std::int32_t offset_at(std::int64_t local, const void* data) {
    const ZoneTable& zone = *static_cast<const ZoneTable*>(data);
    std::int32_t before = static_cast<std::int32_t>(zone.spans[1]);
    for (std::size_t i = 0; i < zone.count; ++i) {
        const std::int64_t from = zone.spans[2 * i];
        const std::int32_t offset = static_cast<std::int32_t>(zone.spans[2 * i + 1]);
        const std::int64_t until = i + 1 < zone.count ? zone.spans[2 * i + 2] : INT64_MAX;
        const std::int64_t instant = local - offset;
        if (instant >= from && instant < until) return offset;
        if (instant < from) return before;  // skipped: the clocks moved past it
        before = offset;
    }
    return before;
}

// The offset at the instant `utc`: that of the span it falls in (the first span's before it).
std::int32_t offset_of(std::int64_t utc, const void* data) {
    const ZoneTable& zone = *static_cast<const ZoneTable*>(data);
    std::int32_t offset = static_cast<std::int32_t>(zone.spans[1]);
    for (std::size_t i = 0; i < zone.count && zone.spans[2 * i] <= utc; ++i)
        offset = static_cast<std::int32_t>(zone.spans[2 * i + 1]);
    return offset;
}

}  // namespace

AuthorZone ZoneTable::author_zone() const {
    if (count == 0 || name == "UTC") return {};
    return {.name = name, .offset_at = &offset_at, .data = this, .offset_of = &offset_of};
}

}  // namespace mt::lint
