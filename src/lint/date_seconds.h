// Reading a date an author wrote where the feed wants Unix seconds: "2026-03-20",
// "2026-03-20T10:00:00+03:00", "2026-03-20 10:00Z", "20.03.2026 10:00" and the like. The one
// reader of dates: the note on such a time and its fix both use it. Internal to the lint core.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "lint/author_zone.h"

namespace mt::lint {

struct DateSeconds {
    std::int64_t seconds = 0;
    bool zone_given = false;  // false: the text names no zone, and the author's was taken
};

// The Unix seconds of YYYY-MM-DD (ISO 8601) or DD.MM.YYYY (the Russian way), optionally followed
// by `T` or a space and HH:MM or HH:MM:SS, and then optionally by `Z` or an offset ±HH:MM or
// ±HHMM (the Gregorian calendar, years 1 to 9999, no leap seconds). None for anything else, an
// impossible date or time included. A time that names no zone is one in `zone`.
std::optional<DateSeconds> date_seconds(std::string_view text, const AuthorZone& zone);

// The title of the fix that writes `date`'s seconds in the place of the date, naming the zone
// taken for a date that names none.
std::string date_fix_title(const DateSeconds& date, const AuthorZone& zone);

// "по UTC", "по времени Europe/Moscow": how a note says in which zone a date was read.
std::string zone_words(const AuthorZone& zone);

}  // namespace mt::lint
