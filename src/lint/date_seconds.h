// Reading a date an author wrote where the feed wants Unix seconds: "2026-03-20",
// "2026-03-20T10:00:00+03:00", "2026-03-20 10:00Z", "20.03.2026 10:00" and the like. The one
// reader of dates: the note on such a time and its fix both use it. Internal to the lint core.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mt::lint {

struct DateSeconds {
    std::int64_t seconds = 0;
    bool zone_given = false;  // false: the text names no zone, and UTC was taken
};

// The Unix seconds of YYYY-MM-DD (ISO 8601) or DD.MM.YYYY (the Russian way), optionally followed
// by `T` or a space and HH:MM or HH:MM:SS, and then optionally by `Z` or an offset ±HH:MM or
// ±HHMM (the Gregorian calendar, years 1 to 9999, no leap seconds). None for anything else, an
// impossible date or time included.
std::optional<DateSeconds> date_seconds(std::string_view text);

// The title of the fix that writes `date`'s seconds in the place of the date, saying when UTC
// was taken for a date that names no zone.
std::string date_fix_title(const DateSeconds& date);

}  // namespace mt::lint
