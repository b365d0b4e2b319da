#include "value_notes.h"

#include <cstdint>
#include <vector>

#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "lint/problems.h"
#include "messages/records.h"
#include "time_text.h"
#include "type_names.h"

namespace mt::lint {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads exactly `count` digits at `at` of `text`, moving `at` past them.
std::optional<int> digits(std::string_view text, std::size_t& at, std::size_t count) {
    if (text.size() - at < count) return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!is_digit(text[at + i])) return std::nullopt;
        value = value * 10 + (text[at + i] - '0');
    }
    at += count;
    return value;
}

bool take(std::string_view text, std::size_t& at, std::string_view any_of) {
    if (at >= text.size() || any_of.find(text[at]) == std::string_view::npos) return false;
    ++at;
    return true;
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t days_from_civil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t year_of_era = year - era * 400;
    const std::int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

unsigned days_in_month(int year, int month) {
    constexpr unsigned DAYS[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : DAYS[month - 1];
}

struct DateTime {
    std::int64_t seconds;  // Unix seconds, the zone's offset taken off
    bool zone;             // whether the text gave a zone (`Z` or an offset)
};

// A date as authors write one: "2026-03-20", "2026-03-20T10:00", "2026-03-20 10:00:00Z",
// "2026-03-20T10:00:00+03:00" (ISO 8601), or "20.03.2026" and "20.03.2026 10:00" (the Russian
// way). Whole seconds only.
std::optional<DateTime> read_date(std::string_view text) {
    std::size_t at = 0;
    std::optional<int> year, month, day;
    if (text.size() >= 10 && text[2] == '.') {
        day = digits(text, at, 2);
        if (!take(text, at, ".")) return std::nullopt;
        month = digits(text, at, 2);
        if (!take(text, at, ".")) return std::nullopt;
        year = digits(text, at, 4);
    } else {
        year = digits(text, at, 4);
        if (!take(text, at, "-")) return std::nullopt;
        month = digits(text, at, 2);
        if (!take(text, at, "-")) return std::nullopt;
        day = digits(text, at, 2);
    }
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 ||
        static_cast<unsigned>(*day) > days_in_month(*year, *month))
        return std::nullopt;
    int hour = 0, minute = 0, second = 0;
    if (at < text.size()) {
        if (!take(text, at, "T ")) return std::nullopt;
        const auto h = digits(text, at, 2);
        if (!h || !take(text, at, ":")) return std::nullopt;
        const auto m = digits(text, at, 2);
        if (!m) return std::nullopt;
        hour = *h;
        minute = *m;
        if (take(text, at, ":")) {
            const auto s = digits(text, at, 2);
            if (!s) return std::nullopt;
            second = *s;
        }
    }
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    std::int64_t offset = 0;
    bool zone = false;
    if (take(text, at, "Zz")) {
        zone = true;
    } else if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        const int sign = text[at++] == '-' ? -1 : 1;
        const auto h = digits(text, at, 2);
        take(text, at, ":");
        std::optional<int> m = at < text.size() ? digits(text, at, 2) : std::optional<int>(0);
        if (!h || !m || *h > 23 || *m > 59) return std::nullopt;
        offset = sign * (*h * 3600 + *m * 60);
        zone = true;
    }
    if (at != text.size()) return std::nullopt;
    const std::int64_t seconds =
        days_from_civil(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day)) * 86400 + hour * 3600 +
        minute * 60 + second - offset;
    return DateTime{seconds, zone};
}

// A decimal integer of at most 20 digits, an optional `-` first.
bool is_integer_text(std::string_view text) {
    if (text.starts_with('-')) text.remove_prefix(1);
    if (text.empty() || text.size() > 20) return false;
    for (const char c : text)
        if (!is_digit(c)) return false;
    return true;
}

// What to write instead of the string `text` for `field`; empty when nothing follows from it.
std::string instead(std::string_view field, std::string_view text) {
    if (is_integer_text(text) && field != "cta") return "; пишите `" + std::string(text) + "`";
    if (field == "cta")
        for (const std::string_view kind : CTA_KIND_NAMES)
            if (kind == text) return "; пишите `{\"kind\": \"" + std::string(kind) + "\"}`";
    return "";
}

// A time written as a date: the field's unit, and the date's seconds with the zone it was read in.
std::optional<std::string> date_note(std::string_view field, std::string_view text) {
    if (field != "start_at" && field != "end_at") return std::nullopt;
    const auto date = read_date(text);
    if (!date) return std::nullopt;
    return std::string(field) + " — время в секундах Unix, целое число без кавычек: `\"" + std::string(text) + "\"`" +
           (date->zone ? " — это " : " без часового пояса, если считать по UTC, — это ") + utc_text(date->seconds) +
           ", то есть `" + signed_decimal(date->seconds) + "`";
}

bool is_joined_part(char32_t c) {
    return c == U'\u200D' || (c >= U'\uFE00' && c <= U'\uFE0F') || (c >= 0x1F3FB && c <= 0x1F3FF) ||
           (c >= 0xE0020 && c <= 0xE007F) || (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
           (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F);
}

bool is_regional_indicator(char32_t c) { return c >= 0x1F1E6 && c <= 0x1F1FF; }

}  // namespace

std::optional<LocatedNote> string_value_note(std::string_view document, const ReadError& error,
                                             std::string_view field) {
    const auto meaning = field_meaning(field);
    // The string runs from its opening quotation mark at `value_offset` to just before the
    // reader's position, its closing quotation mark included.
    const std::size_t begin = error.value_offset;
    if (!meaning || error.found != FoundValue::string || begin == NO_OFFSET || error.offset > document.size() ||
        begin + 2 > error.offset)
        return std::nullopt;
    const std::string_view text = document.substr(begin + 1, error.offset - 2 - begin);
    if (auto note = date_note(field, text)) return LocatedNote{std::move(*note), begin, error.offset};
    return LocatedNote{std::string(field) + " — " + std::string(*meaning) + instead(field, text), begin, error.offset};
}

std::string version_note(std::string_view field, std::string_view text) {
    const std::string rule = std::string(field) + " — это три числа через точку (major.minor.patch)";
    std::string_view rest = text;
    if (rest.starts_with('v') || rest.starts_with('V')) rest.remove_prefix(1);
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t dot = rest.find('.');
        parts.push_back(rest.substr(0, dot));
        if (dot == std::string_view::npos) break;
        rest.remove_prefix(dot + 1);
    }
    bool numbers = parts.size() <= 3 && text.size() <= 40;
    for (const std::string_view part : parts)
        numbers = numbers && !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
    if (!numbers) return rule + " без букв и суффиксов, например \"2.1.0\"";
    std::string completed;
    for (std::size_t i = 0; i < 3; ++i) {
        std::string_view part = i < parts.size() ? parts[i] : "0";
        while (part.size() > 1 && part.front() == '0') part.remove_prefix(1);
        if (i > 0) completed += '.';
        completed += part;
    }
    if (completed == text) return rule + ", каждое не больше 18446744073709551615";
    return rule + ": вместо " + quoted_form(text) + " пишите \"" + completed + "\"";
}

std::optional<std::string> code_points_note(std::string_view text) {
    std::size_t parts = 0;
    bool joined = false, open_flag = false;
    while (!text.empty()) {
        const Character c = first_character(text);
        text.remove_prefix(c.length);
        const bool flag_half = is_regional_indicator(c.value);
        if (is_joined_part(c.value) || joined || (flag_half && open_flag)) ++parts;
        joined = c.value == U'\u200D';
        open_flag = flag_half && !open_flag;
    }
    if (parts == 0) return std::nullopt;
    return "символы считаются кодовыми точками Unicode, а не видимыми знаками: эмодзи семьи — это несколько точек "
           "(люди и невидимые соединители U+200D между ними), флаг — две, буква с ударением — две; здесь " +
           count_of(parts, "такая добавочная точка", "такие добавочные точки", "таких добавочных точек");
}

}  // namespace mt::lint
