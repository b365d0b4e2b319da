#include "time_text.h"

#include "common/digits.h"

namespace mt::lint {
namespace {

std::string two_digits(std::int64_t n) {
    return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
}

// A year in four digits at least, as dates are written everywhere else ("0001", "-0400").
std::string year_text(std::int64_t year) {
    const std::string digits = decimal(static_cast<std::uint64_t>(year < 0 ? -year : year));
    return (year < 0 ? "-" : "") + std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
}

// "2026-01-01 00:00:00", or without the seconds ("2026-01-01 00:00") when they are zero and
// `short_form`: the civil date and time `seconds` stand for, read as seconds in UTC.
std::string civil_text(std::int64_t seconds, bool short_form) {
    std::int64_t days = seconds / 86400, rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // Days since 1970-01-01 to a civil date, counted in 400-year eras from 0000-03-01.
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t day_of_era = z - era * 146097;
    const std::int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
    const std::int64_t day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
    const std::int64_t month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
    const std::int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
    std::string out = year_text(year) + "-" + two_digits(month) + "-" + two_digits(day) + " " +
                      two_digits(rest / 3600) + ":" + two_digits(rest / 60 % 60);
    if (!short_form || rest % 60 != 0) out += ":" + two_digits(rest % 60);
    return out;
}

bool dated(std::int64_t seconds) { return seconds <= MAX_DATED_SECONDS && seconds >= -MAX_DATED_SECONDS; }

}  // namespace

std::string utc_text(std::int64_t seconds) {
    if (!dated(seconds)) return signed_decimal(seconds);
    return civil_text(seconds, false) + " UTC";
}

std::string wall_text(std::int64_t seconds, const AuthorZone& zone) {
    if (!dated(seconds)) return signed_decimal(seconds);
    return civil_text(zone.local_of(seconds), true) + " " + std::string(zone.name);
}

}  // namespace mt::lint
