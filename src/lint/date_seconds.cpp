#include "date_seconds.h"

#include "common/digits.h"

namespace mt::lint {
namespace {

// The value of exactly `count` decimal digits at `at`, advancing past them; -1 otherwise.
int digits(std::string_view text, std::size_t& at, std::size_t count) {
    if (text.size() - at < count) return -1;
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    at += count;
    return value;
}

bool take(std::string_view text, std::size_t& at, char c) {
    if (at >= text.size() || text[at] != c) return false;
    ++at;
    return true;
}

bool is_leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int days_in_month(int year, int month) {
    constexpr int DAYS[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && is_leap(year) ? 29 : DAYS[month - 1];
}

// Days from 1970-01-01 to a civil date, counted in 400-year eras from 0000-03-01.
std::int64_t days_from_civil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t year_of_era = year - era * 400;
    const std::int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

}  // namespace

std::optional<DateSeconds> date_seconds(std::string_view text, const AuthorZone& zone) {
    std::size_t at = 0;
    int year = 0, month = 0, day = 0;
    if (text.size() >= 10 && text[2] == '.') {
        // The Russian order, day first: 20.03.2026.
        day = digits(text, at, 2);
        if (!take(text, at, '.')) return std::nullopt;
        month = digits(text, at, 2);
        if (!take(text, at, '.')) return std::nullopt;
        year = digits(text, at, 4);
    } else {
        year = digits(text, at, 4);
        if (!take(text, at, '-')) return std::nullopt;
        month = digits(text, at, 2);
        if (!take(text, at, '-')) return std::nullopt;
        day = digits(text, at, 2);
    }
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > days_in_month(year, month)) return std::nullopt;
    std::int64_t seconds = days_from_civil(year, month, day) * 86400;
    DateSeconds out;
    if (at < text.size() && (text[at] == 'T' || text[at] == ' ')) {
        ++at;
        const int hour = digits(text, at, 2);
        if (hour < 0 || hour > 23 || !take(text, at, ':')) return std::nullopt;
        const int minute = digits(text, at, 2);
        if (minute < 0 || minute > 59) return std::nullopt;
        int second = 0;
        if (take(text, at, ':')) {
            second = digits(text, at, 2);
            if (second < 0 || second > 59) return std::nullopt;
        }
        seconds += hour * 3600 + minute * 60 + second;
        if (take(text, at, 'Z') || take(text, at, 'z')) {
            out.zone_given = true;
        } else if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            const int sign = text[at++] == '+' ? 1 : -1;
            const int zone_hours = digits(text, at, 2);
            take(text, at, ':');
            const int zone_minutes = digits(text, at, 2);
            if (zone_hours < 0 || zone_hours > 23 || zone_minutes < 0 || zone_minutes > 59) return std::nullopt;
            // 10:00+03:00 is 07:00 UTC.
            seconds -= sign * (zone_hours * 3600 + zone_minutes * 60);
            out.zone_given = true;
        }
    }
    if (at != text.size()) return std::nullopt;
    out.seconds = out.zone_given ? seconds : zone.utc_of(seconds);
    return out;
}

std::string zone_words(const AuthorZone& zone) {
    return zone.name == "UTC" ? "по UTC" : "по времени " + std::string(zone.name);
}

std::string date_fix_title(const DateSeconds& date, const AuthorZone& zone) {
    return "заменить дату секундами Unix: " + signed_decimal(date.seconds) +
           (date.zone_given ? "" : " (часовой пояс не указан: взято время " + std::string(zone.name) + ")");
}

}  // namespace mt::lint
