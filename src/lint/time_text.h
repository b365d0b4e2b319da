// How notes and the editors' views write time values: Unix seconds as a date and time in UTC, or
// on the author's clock.
// Internal to the lint core.
#pragma once

#include <cstdint>
#include <string>

#include "lint/author_zone.h"

namespace mt::lint {

// The largest magnitude utc_text shows as a date (about the year 5138 either side of 1970);
// beyond it a time value is no plausible count of seconds.
inline constexpr std::int64_t MAX_DATED_SECONDS = 100'000'000'000;

// "2026-01-01 00:00:00 UTC" (proleptic Gregorian, the year in four digits at least: "0001",
// "-0400") for |seconds| <= MAX_DATED_SECONDS, otherwise the plain number.
std::string utc_text(std::int64_t seconds);

// "2026-01-01 03:00 Europe/Moscow", "2026-01-01 00:00:30 UTC": the wall-clock time in `zone`
// at the instant, its seconds only when they are not zero; the plain number where utc_text
// gives one.
std::string wall_text(std::int64_t seconds, const AuthorZone& zone);

}  // namespace mt::lint
