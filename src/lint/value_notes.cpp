#include "value_notes.h"

#include <cstdint>
#include <vector>

#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "date_seconds.h"
#include "lint/problems.h"
#include "messages/records.h"
#include "number_text.h"
#include "plural.h"
#include "time_text.h"
#include "type_names.h"
#include "value_fixes.h"

namespace mt::lint {
namespace {

// What to write instead of the string `text` for `field`; empty when nothing follows from it.
std::string instead(std::string_view field, std::string_view text) {
    if (const auto integer = integer_from_text(text); integer && field != "cta") return "; пишите `" + *integer + "`";
    if (field == "cta")
        if (const auto object = cta_for_kind(text)) return "; пишите `" + *object + "`";
    return "";
}

// A time written as a date: the field's unit, and the date's seconds with the zone it was read in.
std::optional<std::string> date_note(std::string_view field, std::string_view text, const AuthorZone& zone) {
    if (field != "start_at" && field != "end_at") return std::nullopt;
    const auto date = date_seconds(text, zone);
    if (!date) return std::nullopt;
    return std::string(field) + " — время в секундах Unix, целое число без кавычек: `\"" + std::string(text) + "\"`" +
           (date->zone_given ? " — это " : " без часового пояса, если считать " + zone_words(zone) + ", — это ") +
           utc_text(date->seconds) + ", то есть `" + signed_decimal(date->seconds) + "`";
}

bool is_joined_part(char32_t c) {
    return c == U'\u200D' || (c >= U'\uFE00' && c <= U'\uFE0F') || (c >= 0x1F3FB && c <= 0x1F3FF) ||
           (c >= 0xE0020 && c <= 0xE007F) || (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
           (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F);
}

bool is_regional_indicator(char32_t c) { return c >= 0x1F1E6 && c <= 0x1F1FF; }

}  // namespace

std::optional<LocatedNote> string_value_note(std::string_view document, const ReadError& error, std::string_view field,
                                             const AuthorZone& zone) {
    const auto meaning = field_meaning(field);
    // The string runs from its opening quotation mark at `value_offset` to just before the
    // reader's position, its closing quotation mark included.
    const std::size_t begin = error.value_offset;
    if (!meaning || error.found != FoundValue::string || begin == NO_OFFSET || error.offset > document.size() ||
        begin + 2 > error.offset)
        return std::nullopt;
    const std::string_view text = document.substr(begin + 1, error.offset - 2 - begin);
    if (auto note = date_note(field, text, zone)) return LocatedNote{std::move(*note), begin, error.offset};
    return LocatedNote{std::string(field) + " — " + std::string(*meaning) + instead(field, text), begin, error.offset};
}

std::string version_note(std::string_view field, std::string_view text) {
    const std::string rule = std::string(field) + " — это три числа через точку (major.minor.patch)";
    if (const auto meant = version_meant(text))
        return rule + ": вместо " + quoted_form(text) + " пишите \"" + *meant + "\"";
    bool numbers = text.size() <= 40 && !text.empty();
    for (const char c : text) numbers = numbers && ((c >= '0' && c <= '9') || c == '.');
    if (!numbers) return rule + " без букв и суффиксов, например \"2.1.0\"";
    return rule + ", каждое не больше 18446744073709551615";
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
