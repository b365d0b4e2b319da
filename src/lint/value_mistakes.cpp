#include "value_mistakes.h"

#include <charconv>
#include <cstdint>

#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "date_seconds.h"
#include "key_suggestion.h"
#include "lint/plural.h"
#include "messages/records.h"
#include "number_text.h"
#include "time_text.h"
#include "type_names.h"

namespace mt::lint {
namespace {

Fix unsafe_fix(std::string title, std::vector<Edit> edits) {
    Fix fix;
    fix.title = std::move(title);
    fix.safe = false;
    fix.edits = std::move(edits);
    return fix;
}

// The `$schema` member whose key begins at `key`, with one comma beside it: the one after it
// and the white space up to the next key, or else the one before it.
std::optional<Fix> remove_member(std::string_view document, const DraftReading& reading, std::size_t key) {
    const std::size_t key_end = plain_value_end(reading, key);
    if (key_end == NO_OFFSET || document[key] != '"') return std::nullopt;
    const std::size_t colon = skip_space(document, key_end);
    if (colon >= document.size() || document[colon] != ':') return std::nullopt;
    const std::size_t end = plain_value_end(reading, skip_space(document, colon + 1));
    if (end == NO_OFFSET) return std::nullopt;
    const std::size_t after = skip_space(document, end);
    const std::size_t before = previous_token_end(document, key);
    Edit edit;
    if (after < document.size() && document[after] == ',') {
        edit = {key, skip_space(document, after + 1), ""};
    } else if (before != NO_OFFSET && document[before] == ',') {
        edit = {before, end, ""};
    } else if (before != NO_OFFSET && document[before] == '{') {
        edit = {key, end, ""};
    } else {
        return std::nullopt;
    }
    Fix fix;
    fix.title = "удалить ключ $schema";
    fix.edits = {std::move(edit)};
    return fix;
}

ValueDiagnosis schema_key(std::string_view document, const DraftReading& reading, const ReadError& error) {
    ValueDiagnosis out;
    out.notes.push_back(
        "ключ `$schema` лента не допускает: удалите его и свяжите схему с файлом в настройках редактора "
        "(VS Code: json.schemas; JetBrains: JSON Schema Mappings; см. «Editor set-up» в doc/feed-format.md)");
    if (error.key_offset != NO_OFFSET) out.fix = remove_member(document, reading, error.key_offset);
    return out;
}

// An unknown key or kind: the nearest known one, which a rename writes unless the object has it
// already (it would then be refused as given twice).
ValueDiagnosis misspelt_key(std::string_view document, const DraftReading& reading, const ReadError& error) {
    ValueDiagnosis out;
    const auto nearest = nearest_key(error.key, error.expected_keys);
    if (!nearest) return out;
    const std::string key(*nearest);
    if (error.reason == Reason::unknown_field && object_has_key(document, reading, error.key_offset, key)) {
        out.notes.push_back("похоже на `" + key + "`, но `" + key +
                            "` в этом объекте уже есть: один из двух ключей лишний");
        return out;
    }
    out.notes.push_back("возможно, имелось в виду `" + key + "`");
    if (error.key_offset != NO_OFFSET)
        out.fix = unsafe_fix("заменить `" + escape_unprintable(error.key) + "` на `" + key + "`",
                             {{error.key_offset, error.key_end, "\"" + key + "\""}});
    return out;
}

// Whether the decimal integer `text` is a value of the integer type `type`.
bool fits(std::string_view text, ValueType type) {
    const char* const end = text.data() + text.size();
    if (type == ValueType::i64) {
        std::int64_t value = 0;
        const auto read = std::from_chars(text.data(), end, value);
        return read.ec == std::errc() && read.ptr == end;
    }
    std::uint64_t value = 0;
    const auto read = std::from_chars(text.data(), end, value);
    if (read.ec != std::errc() || read.ptr != end) return false;
    return type == ValueType::u64 || (type == ValueType::u32 && value <= UINT32_MAX) ||
           (type == ValueType::u8 && value <= UINT8_MAX);
}

// For a number with a fraction or an exponent where an integer belongs: the integer it equals,
// when it equals one the field can hold (`31.0` is `31`; `2e19` is no u64).
std::optional<std::string> integral_value(std::string_view document, const ReadError& error) {
    if (error.found != FoundValue::floating || !is_integer_type(error.expected) || error.value_offset == NO_OFFSET ||
        error.offset > document.size() || error.offset <= error.value_offset)
        return std::nullopt;
    auto integer = integer_from_number(document.substr(error.value_offset, error.offset - error.value_offset));
    if (integer && !fits(*integer, error.expected)) return std::nullopt;
    return integer;
}

// The call to action a kind's name written alone stands for, `{"kind": "open_license"}`.
std::optional<std::string> cta_for_kind(std::string_view text) {
    for (const std::string_view kind : CTA_KIND_NAMES)
        if (kind == text) return "{\"kind\": \"" + std::string(kind) + "\"}";
    return std::nullopt;
}

// What the value must look like: in the words of its field where the field is known.
std::string value_words(const ReadError& error) {
    if (const auto meaning = error.field.empty() ? std::nullopt : field_meaning(error.field))
        return std::string(error.field) + " — " + std::string(*meaning);
    if (const std::string_view meaning = type_meaning(error.expected); !meaning.empty())
        return "здесь ожидается " + std::string(meaning);
    return "";
}

// A string where `error.field` takes something else: what the field takes and what to write
// instead where that follows from the string (its seconds for a date, the number in quotation
// marks, the object for a call to action's kind), with the repair that writes it. The string is
// marked whole, from its opening quotation mark at `value_offset` to its closing one, just before
// the reader's position; a field without words of its own gets the words of its type.
ValueDiagnosis string_for_other(std::string_view document, const DraftReading& reading, const ReadError& error,
                                const AuthorZone& zone) {
    ValueDiagnosis out;
    const std::size_t open = error.value_offset;
    const std::string_view field = error.field;
    const std::string_view text = document.substr(open + 1, error.offset - 2 - open);
    const auto meaning = field.empty() ? std::nullopt : field_meaning(field);
    // The repair writes over the string as the reading spans it.
    const bool whole = document[open] == '"' && plain_value_end(reading, open) == error.offset;
    const bool for_integer = is_integer_type(error.expected);
    const auto integer = integer_from_text(text);
    const bool time = field == "start_at" || field == "end_at";
    const auto date = (meaning && time) || (whole && for_integer && !integer && error.expected == ValueType::i64)
                          ? date_seconds(text, zone)
                          : std::nullopt;
    const auto object = field == "cta" ? cta_for_kind(text) : std::nullopt;
    if (!meaning) {
        if (auto words = value_words(error); !words.empty()) out.notes.push_back(std::move(words));
    } else if (time && date) {
        out.notes.push_back(
            std::string(field) + " — время в секундах Unix, целое число без кавычек: `\"" + std::string(text) + "\"`" +
            (date->zone_given ? " — это " : " без часового пояса, если считать " + zone_words(zone) + ", — это ") +
            utc_text(date->seconds) + ", то есть `" + signed_decimal(date->seconds) + "`");
    } else {
        std::string note = std::string(field) + " — " + std::string(*meaning);
        if (integer && field != "cta") note += "; пишите `" + *integer + "`";
        if (object) note += "; пишите `" + *object + "`";
        out.notes.push_back(std::move(note));
    }
    if (meaning) out.shown = Span{open, error.offset};
    if (!whole) return out;
    const Edit over{open, error.offset, ""};
    if (for_integer && integer)
        out.fix = unsafe_fix("убрать кавычки вокруг числа", {{over.begin, over.end, *integer}});
    else if (for_integer && error.expected == ValueType::i64 && date)
        out.fix = unsafe_fix(date_fix_title(*date, zone), {{over.begin, over.end, signed_decimal(date->seconds)}});
    else if (!for_integer && object)
        out.fix = unsafe_fix("записать cta объектом: " + *object, {{over.begin, over.end, *object}});
    return out;
}

// A value of another type than its field's, or out of its range.
ValueDiagnosis wrong_value(std::string_view document, const DraftReading& reading, const ReadError& error,
                           const AuthorZone& zone) {
    if (error.kind() == ReadErrorKind::invalid_type && error.found == FoundValue::string &&
        error.value_offset != NO_OFFSET && error.offset <= document.size() && error.value_offset + 2 <= error.offset)
        return string_for_other(document, reading, error, zone);
    ValueDiagnosis out;
    if (error.found == FoundValue::floating && is_integer_type(error.expected)) {
        const auto integer = integral_value(document, error);
        out.notes.push_back(
            "число с дробной частью или показателем степени (`1.0`, `1e2`) не целое, даже если равно целому: пишите " +
            (integer ? "`" + *integer + "`" : std::string("`1`, `100`")));
        if (integer && error.kind() == ReadErrorKind::invalid_type)
            out.fix = unsafe_fix("записать целым числом: " + *integer, {{error.value_offset, error.offset, *integer}});
    }
    if (auto words = value_words(error); !words.empty()) out.notes.push_back(std::move(words));
    return out;
}

// The version an author meant by `text`, a version the rule refuses, when that follows from it:
// without a `v` before it or spaces around it, a comma taken for a dot, leading zeros dropped,
// completed with zeros to three numbers ("v2.1" is "2.1.0"). None when it does not follow, or
// `text` is already three numbers.
std::optional<std::string> version_meant(std::string_view text) {
    std::string_view rest = text;
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    if (rest.starts_with('v') || rest.starts_with('V')) rest.remove_prefix(1);
    if (rest.empty()) return std::nullopt;
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t separator = rest.find_first_of(".,");
        parts.push_back(rest.substr(0, separator));
        if (separator == std::string_view::npos) break;
        rest.remove_prefix(separator + 1);
    }
    if (parts.size() > 3) return std::nullopt;
    std::string meant;
    for (std::size_t i = 0; i < 3; ++i) {
        std::string_view part = i < parts.size() ? parts[i] : "0";
        if (part.empty() || part.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
        while (part.size() > 1 && part.front() == '0') part.remove_prefix(1);
        meant += (i > 0 ? "." : "") + std::string(part);
    }
    if (meant == text) return std::nullopt;
    return meant;
}

bool is_joined_part(char32_t c) {
    return c == U'\u200D' || (c >= U'\uFE00' && c <= U'\uFE0F') || (c >= 0x1F3FB && c <= 0x1F3FF) ||
           (c >= 0xE0020 && c <= 0xE007F) || (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) ||
           (c >= 0x1DC0 && c <= 0x1DFF) || (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F);
}

bool is_regional_indicator(char32_t c) { return c >= 0x1F1E6 && c <= 0x1F1FF; }

}  // namespace

ValueDiagnosis diagnose_read_value(std::string_view document, const DraftReading& reading, const ReadError& error,
                                   const AuthorZone& zone) {
    switch (error.kind()) {
        case ReadErrorKind::unknown_field:
            if (error.key == "$schema") return schema_key(document, reading, error);
            return misspelt_key(document, reading, error);
        case ReadErrorKind::unknown_variant:
            return misspelt_key(document, reading, error);
        case ReadErrorKind::invalid_type:
        case ReadErrorKind::invalid_value:
            return wrong_value(document, reading, error, zone);
        default:
            return {};
    }
}

ValueDiagnosis diagnose_version(std::string_view document, std::string_view field, std::string_view text, Span at) {
    ValueDiagnosis out;
    const std::string rule = std::string(field) + " — это три числа через точку (major.minor.patch)";
    const auto meant = version_meant(text);
    if (!meant) {
        bool numbers = !text.empty();
        for (const char c : text) numbers = numbers && ((c >= '0' && c <= '9') || c == '.');
        out.notes.push_back(numbers ? rule + ", каждое не больше 18446744073709551615"
                                    : rule + " без букв и суффиксов, например \"2.1.0\"");
        return out;
    }
    out.notes.push_back(rule + ": вместо " + quoted_form(text) + " пишите \"" + *meant + "\"");
    // The repair writes over the string as written, which is the value itself when it has no
    // escape.
    const bool as_written = at.begin < document.size() && at.end != NO_OFFSET && at.end >= at.begin + 2 &&
                            at.end <= document.size() && document[at.begin] == '"' && document[at.end - 1] == '"' &&
                            document.substr(at.begin + 1, at.end - at.begin - 2).find('\\') == std::string_view::npos;
    if (!as_written) return out;
    const bool completed = *meant == std::string(text) + ".0" || *meant == std::string(text) + ".0.0";
    out.fix = unsafe_fix((completed ? "дополнить версию нулями: \"" : "записать версию как \"") + *meant + "\"",
                         {{at.begin, at.end, "\"" + *meant + "\""}});
    return out;
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
