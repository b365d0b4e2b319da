// How notes write time values: Unix seconds as a date and time in UTC.
// Internal to the lint core.
#pragma once

#include <cstdint>
#include <string>

namespace mt::lint {

// The largest magnitude utc_text shows as a date (about the year 5138 either side of 1970);
// beyond it a time value is no plausible count of seconds.
inline constexpr std::int64_t MAX_DATED_SECONDS = 100'000'000'000;

// "2026-01-01 00:00:00 UTC" (proleptic Gregorian, the year in four digits at least: "0001",
// "-0400") for |seconds| <= MAX_DATED_SECONDS, otherwise the plain number.
std::string utc_text(std::int64_t seconds);

}  // namespace mt::lint
