#include "value_fixes.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "common/digits.h"
#include "common/escape.h"
#include "date_seconds.h"
#include "draft_reading.h"
#include "key_suggestion.h"
#include "messages/records.h"
#include "number_text.h"
#include "time_text.h"

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

std::optional<Fix> rename(std::string_view document, const DraftReading& reading, const ReadError& error) {
    const auto nearest = nearest_key(error.key, error.expected_keys);
    const std::size_t end = error.key_offset == NO_OFFSET ? NO_OFFSET : error.key_end;
    if (!nearest || end == NO_OFFSET) return std::nullopt;
    // Renamed into a key its record has already, it would be refused as given twice.
    if (error.reason == Reason::unknown_field && object_has_key(document, reading, error.key_offset, *nearest))
        return std::nullopt;
    return unsafe_fix("заменить `" + escape_unprintable(error.key) + "` на `" + std::string(*nearest) + "`",
                      {{error.key_offset, end, "\"" + std::string(*nearest) + "\""}});
}

// A string where an integer field wants a number: a number in quotation marks, or for a time
// a date. The reader stops just after the string.
std::optional<Fix> string_for_integer(std::string_view document, const DraftReading& reading, const ReadError& error,
                                      const AuthorZone& zone) {
    const std::size_t open = error.value_offset;
    if (open == NO_OFFSET || document[open] != '"' || plain_value_end(reading, open) != error.offset)
        return std::nullopt;
    const std::string_view text = document.substr(open + 1, error.offset - open - 2);
    const Edit whole{open, error.offset, ""};
    if (const auto integer = integer_from_text(text))
        return unsafe_fix("убрать кавычки вокруг числа", {{whole.begin, whole.end, *integer}});
    if (error.expected != ValueType::i64) return std::nullopt;
    const auto date = date_seconds(text, zone);
    if (!date) return std::nullopt;
    return unsafe_fix(date_fix_title(*date, zone), {{whole.begin, whole.end, signed_decimal(date->seconds)}});
}

// A call to action given by its kind's name alone, written as the object it stands for.
std::optional<Fix> kind_for_cta(std::string_view document, const DraftReading& reading, const ReadError& error) {
    const std::size_t open = error.value_offset;
    if (open == NO_OFFSET || document[open] != '"' || plain_value_end(reading, open) != error.offset)
        return std::nullopt;
    const auto object = cta_for_kind(document.substr(open + 1, error.offset - open - 2));
    if (!object) return std::nullopt;
    return unsafe_fix("записать cta объектом: " + *object, {{open, error.offset, *object}});
}

}  // namespace

std::optional<std::string> cta_for_kind(std::string_view text) {
    for (const std::string_view kind : CTA_KIND_NAMES)
        if (kind == text) return "{\"kind\": \"" + std::string(kind) + "\"}";
    return std::nullopt;
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

std::optional<std::string> integral_value(std::string_view document, const ReadError& error) {
    if (error.found != FoundValue::floating || !is_integer_type(error.expected) || error.value_offset == NO_OFFSET ||
        error.offset > document.size() || error.offset <= error.value_offset)
        return std::nullopt;
    auto integer = integer_from_number(document.substr(error.value_offset, error.offset - error.value_offset));
    // An integer the field cannot hold is no repair (`2e19` for a u64).
    if (integer && !fits(*integer, error.expected)) return std::nullopt;
    return integer;
}

std::optional<Fix> key_or_value_fix(std::string_view document, const DraftReading& reading, const ReadError& error,
                                    const AuthorZone& zone) {
    switch (error.kind()) {
        case ReadErrorKind::unknown_field:
            if (error.key == "$schema" && error.key_offset != NO_OFFSET)
                return remove_member(document, reading, error.key_offset);
            return rename(document, reading, error);
        case ReadErrorKind::unknown_variant:
            return rename(document, reading, error);
        case ReadErrorKind::invalid_type:
            if (error.found == FoundValue::string && is_integer_type(error.expected))
                return string_for_integer(document, reading, error, zone);
            if (error.found == FoundValue::string && error.field == "cta")
                return kind_for_cta(document, reading, error);
            if (const auto integer = integral_value(document, error))
                return unsafe_fix("записать целым числом: " + *integer, {{error.value_offset, error.offset, *integer}});
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::optional<std::string> version_meant(std::string_view text) {
    std::string_view rest = text;
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    if (rest.starts_with('v') || rest.starts_with('V')) rest.remove_prefix(1);
    if (rest.empty() || text.size() > 40) return std::nullopt;
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

std::optional<Fix> version_fix(std::string_view document, std::size_t at, std::size_t end) {
    if (at >= document.size() || document[at] != '"' || end < at + 2 || end > document.size() ||
        document[end - 1] != '"')
        return std::nullopt;
    const std::string_view text = document.substr(at + 1, end - at - 2);
    if (text.find('\\') != std::string_view::npos) return std::nullopt;  // as written, not as read
    const auto meant = version_meant(text);
    if (!meant) return std::nullopt;
    const bool completed = *meant == std::string(text) + ".0" || *meant == std::string(text) + ".0.0";
    return unsafe_fix((completed ? "дополнить версию нулями: \"" : "записать версию как \"") + *meant + "\"",
                      {{at, end, "\"" + *meant + "\""}});
}

}  // namespace mt::lint
