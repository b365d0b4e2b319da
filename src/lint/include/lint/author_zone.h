// The author's time zone, in which a date written without one is read: its name as the author
// knows it, and the offset from UTC of a wall-clock time there. Each front end gives its own:
// the command line and the editors' server the C library's zone (TZ), the page the browser's.
#pragma once

#include <cstdint>
#include <string_view>

namespace mt::lint {

struct AuthorZone {
    std::string_view name = "UTC";  // "Europe/Moscow"; the caller keeps the text
    // The offset from UTC in seconds of the wall-clock time `local` (its date and time written as
    // the seconds they would be in UTC), with `data`; null for UTC itself.
    std::int32_t (*offset_at)(std::int64_t local, const void* data) = nullptr;
    const void* data = nullptr;
    // The offset from UTC in seconds at the instant `utc`, with `data`; null for UTC itself.
    std::int32_t (*offset_of)(std::int64_t utc, const void* data) = nullptr;

    // The Unix seconds of the wall-clock time `local`.
    std::int64_t utc_of(std::int64_t local) const { return offset_at ? local - offset_at(local, data) : local; }
    // The wall-clock time at the instant `utc`, written as the seconds it would be in UTC.
    std::int64_t local_of(std::int64_t utc) const { return offset_of ? utc + offset_of(utc, data) : utc; }
};

}  // namespace mt::lint
