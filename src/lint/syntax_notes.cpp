#include "syntax_notes.h"

#include <array>

#include "code_point.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "draft_reading.h"
#include "invisible.h"

namespace mt::lint {
namespace {

struct NamedCharacter {
    char32_t value;
    std::string_view name;
};

// Characters that look like a space, or like nothing, where JSON allows only its own four.
constexpr std::array<NamedCharacter, 7> SPACE_LOOKALIKES = {{
    {U'\u00A0', "неразрывный пробел U+00A0 (на Mac его ставит ⌥Пробел)"},
    {U'\u2007', "цифровой пробел U+2007"},
    {U'\u202F', "узкий неразрывный пробел U+202F"},
    {U'\u3000', "идеографический пробел U+3000"},
    {U'\u200B', "невидимый пробел нулевой ширины U+200B"},
    {U'\uFEFF', "невидимая метка порядка байтов U+FEFF (она попадает внутрь файла при склейке или вставке текста)"},
    {U'\u2060', "невидимый соединитель слов U+2060"},
}};

// Dashes and minus signs that stand where a number's `-` belongs.
constexpr std::array<NamedCharacter, 8> DASHES = {{
    {U'\u2010', "дефис U+2010"},
    {U'\u2011', "неразрывный дефис U+2011"},
    {U'\u2012', "цифровое тире U+2012"},
    {U'\u2013', "короткое тире U+2013"},
    {U'\u2014', "длинное тире U+2014"},
    {U'\u2212', "знак минуса U+2212"},
    {U'\uFE63', "малый дефис-минус U+FE63"},
    {U'\uFF0D', "широкий дефис-минус U+FF0D"},
}};

constexpr std::string_view JSON_SPACES =
    "JSON между ключами, значениями и скобками допускает только обычный пробел, табуляцию и перевод строки";

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_ascii_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::optional<std::string_view> name_of(const auto& table, char32_t value) {
    for (const NamedCharacter& c : table)
        if (c.value == value) return c.name;
    return std::nullopt;
}

// The digits on both sides of a gap from `gap_begin` to `gap_end`, written together: what a
// number broken by spaces reads as once they are gone.
std::string joined_number(std::string_view bytes, std::size_t gap_begin, std::size_t gap_end) {
    std::size_t begin = gap_begin, end = gap_end;
    while (begin > 0 && (is_digit(bytes[begin - 1]) || bytes[begin - 1] == '-')) --begin;
    while (end < bytes.size() && is_digit(bytes[end])) ++end;
    return std::string(bytes.substr(begin, gap_begin - begin)) + std::string(bytes.substr(gap_end, end - gap_end));
}

bool digits_around(std::string_view bytes, std::size_t gap_begin, std::size_t gap_end) {
    return gap_begin > 0 && is_digit(bytes[gap_begin - 1]) && gap_end < bytes.size() && is_digit(bytes[gap_end]);
}

std::optional<LocatedNote> control_in_string(std::string_view bytes, std::size_t stop) {
    const char c = bytes[stop];
    if (static_cast<unsigned char>(c) >= 0x20) return std::nullopt;
    if (c == '\n' || c == '\r') {
        const std::size_t end = c == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n' ? stop + 2 : stop + 1;
        return LocatedNote{
            "строка не закрыта до конца строки: перевод строки внутри строки пишется `\\n`; если строка здесь "
            "кончается, поставьте закрывающую кавычку `\"`",
            stop, end};
    }
    if (c == '\t') return LocatedNote{"табуляция внутри строки пишется `\\t`", stop, stop + 1};
    std::string escape = code_point(static_cast<unsigned char>(c));
    escape.replace(0, 2, "\\u");
    return LocatedNote{
        "управляющий символ " + code_point(static_cast<unsigned char>(c)) + " внутри строки пишется `" + escape + "`",
        stop, stop + 1};
}

std::optional<LocatedNote> space_lookalike(std::string_view bytes, std::size_t stop) {
    const Character c = first_character(bytes.substr(stop));
    if (!c.valid || c.value < 0x80 || (c.value == U'\uFEFF' && stop == 0)) return std::nullopt;
    auto name = name_of(SPACE_LOOKALIKES, c.value);
    std::string unnamed;
    if (!name && is_invisible(c.value)) {
        unnamed = "невидимый символ " + code_point(c.value);
        name = unnamed;
    }
    if (!name) return std::nullopt;
    const std::size_t end = stop + c.length;
    std::string text = "здесь " + std::string(*name) + ": " + std::string(JSON_SPACES) +
                       "; замените этот символ обычным пробелом или удалите его";
    if (digits_around(bytes, stop, end))
        text += "; внутри числа пробелов не бывает: `" + joined_number(bytes, stop, end) + "`";
    return LocatedNote{std::move(text), stop, end};
}

std::optional<LocatedNote> dash(std::string_view bytes, std::size_t stop) {
    const Character c = first_character(bytes.substr(stop));
    const auto name = c.valid ? name_of(DASHES, c.value) : std::nullopt;
    if (!name) return std::nullopt;
    const std::size_t end = stop + c.length;
    std::string example = "-";
    for (std::size_t i = end; i < bytes.size() && is_digit(bytes[i]); ++i) example += bytes[i];
    if (example.size() == 1) example += "1";
    return LocatedNote{"здесь `" + std::string(bytes.substr(stop, c.length)) + "` (" + std::string(*name) +
                           "), а не минус ASCII `-`: отрицательное число пишется с дефисом-минусом с клавиатуры: `" +
                           example + "`",
                       stop, end};
}

// A word that stands without quotation marks: an ASCII letter, `_` or `$` first, or a Cyrillic
// letter; then everything up to the next JSON punctuation or white space, up to 40 bytes.
std::optional<std::string_view> bare_word(std::string_view bytes, std::size_t stop) {
    const Character first = first_character(bytes.substr(stop));
    const bool starts = is_ascii_letter(bytes[stop]) || bytes[stop] == '_' || bytes[stop] == '$' ||
                        (first.valid && first.value >= 0x0400 && first.value <= 0x04FF);
    if (!starts) return std::nullopt;
    std::size_t end = stop;
    while (end < bytes.size() && end - stop < 40 &&
           std::string_view(",:{}[]\" \t\r\n").find(bytes[end]) == std::string_view::npos)
        end += first_character(bytes.substr(end)).length;
    const std::string_view word = bytes.substr(stop, end - stop);
    if (!is_valid_utf8(word)) return std::nullopt;
    return word;
}

// What stands between the token before the error and the token it stopped at.
std::optional<LocatedNote> between_tokens(std::string_view bytes, std::size_t stop, const Context& state,
                                          Reason reason) {
    const std::size_t before = previous_token_end(bytes, stop);
    if (before == NO_OFFSET || state.open.empty()) return std::nullopt;
    const OpenBracket& open = state.open.back();
    const char p = bytes[before], s = bytes[stop];

    if (reason == Reason::trailing_comma && p == ',')
        return LocatedNote{std::string("лишняя запятая: после ") +
                               (s == '}' ? "последней пары «ключ: значение» объекта" : "последнего элемента массива") +
                               " запятая не ставится; удалите её",
                           before, before + 1};

    const bool after_value = (p == '"' || p == '}' || p == ']' || is_digit(p) || p == 'e' || p == 'l') &&
                             (open.bracket == '[' || open.value);
    const bool starts_value =
        s == '"' || s == '{' || s == '[' || s == '-' || is_digit(s) || s == 't' || s == 'f' || s == 'n';
    const bool comma_or_end =
        reason == Reason::expected_object_comma_or_end || reason == Reason::expected_list_comma_or_end;
    if (comma_or_end && is_digit(p) && is_digit(s)) {
        // Digits right after digits are one malformed number (`01`), not two values.
        if (before + 1 == stop) return std::nullopt;
        std::size_t run = stop;
        while (run < bytes.size() && is_digit(bytes[run])) ++run;
        const bool one_line =
            bytes.substr(before + 1, stop - before - 1).find_first_of("\r\n") == std::string_view::npos;
        // In an array, two numbers apart may be two elements; a group of three digits is a thousands group.
        if (one_line && (open.bracket == '{' || run - stop == 3))
            return LocatedNote{"пробел внутри числа: в JSON число пишется слитно, без пробелов между разрядами: `" +
                                   joined_number(bytes, before + 1, stop) + "`",
                               before + 1, stop};
    }
    if (comma_or_end && after_value && starts_value)
        return LocatedNote{std::string("не хватает запятой: ") +
                               (open.bracket == '{' ? "пары «ключ: значение» объекта" : "элементы массива") +
                               " разделяются запятыми; поставьте `,` здесь, после предыдущего значения",
                           before + 1, stop};

    const auto word = bare_word(bytes, stop);
    if (!word) return std::nullopt;
    const std::string shown = escape_unprintable(*word);
    if (reason == Reason::key_must_be_a_string && open.bracket == '{' && !open.value)
        return LocatedNote{
            "ключ `" + shown + "` без кавычек: в JSON ключ пишется в прямых двойных кавычках: `\"" + shown + "\"`",
            stop, stop + word->size()};
    if (reason == Reason::expected_value && (p == ':' || p == '[' || p == ','))
        return LocatedNote{
            "значение `" + shown + "` без кавычек: строка пишется в прямых двойных кавычках: `\"" + shown + "\"`", stop,
            stop + word->size()};
    return std::nullopt;
}

// The brackets still open where the document ends, closed in the order they must be.
std::optional<LocatedNote> open_at_end(std::string_view bytes, const DraftReading& reading) {
    const Context state = context_before(reading, bytes.size());
    if (state.in_string || state.open.empty()) return std::nullopt;
    const std::size_t last = previous_token_end(bytes, bytes.size());
    const char p = bytes[last];
    if (p == ',' || p == ':') return std::nullopt;  // a value is missing too, not only brackets
    std::string closers;
    for (auto it = state.open.rbegin(); it != state.open.rend(); ++it) closers += it->bracket == '{' ? '}' : ']';
    return LocatedNote{"файл кончился, а скобки не закрыты: в конце не хватает `" + closers + "`", last + 1, last + 1};
}

}  // namespace

std::optional<LocatedNote> syntax_note(std::string_view document, const DraftReading& reading, const ReadError& error) {
    if (error.kind() == ReadErrorKind::end_of_input) return open_at_end(document, reading);
    if (error.kind() != ReadErrorKind::syntax || error.offset == 0 || error.offset > document.size())
        return std::nullopt;
    const std::size_t stop = error.offset - 1;
    const Context state = context_before(reading, stop);
    if (error.reason == Reason::control_character) return control_in_string(document, stop);
    if (state.in_string) return std::nullopt;
    if (auto note = space_lookalike(document, stop)) return note;
    if (auto note = dash(document, stop)) return note;
    return between_tokens(document, stop, state, error.reason);
}

}  // namespace mt::lint
