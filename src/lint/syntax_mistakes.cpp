#include "syntax_mistakes.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "code_page_reading.h"
#include "code_point.h"
#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "common/white_space.h"
#include "date_seconds.h"
#include "draft_reading.h"
#include "editor_steps.h"
#include "invisible.h"
#include "lint/code_pages.h"
#include "typographic_quotes.h"

namespace mt::lint {
namespace {

// Whether `key` is one of the keys of the record open innermost in `open` (the feed, a message
// of its list, a call to action), as the feed's records are nested in their object form.
bool is_key_of_record(std::string_view key, std::string_view open) {
    constexpr std::array<std::string_view, 3> FEED = {"schema", "revision", "messages"};
    constexpr std::array<std::string_view, 9> MESSAGE = {"id",     "priority", "title",      "body",      "start_at",
                                                         "end_at", "cta",      "minVersion", "maxVersion"};
    const auto among = [&](const auto& keys) { return std::find(keys.begin(), keys.end(), key) != keys.end(); };
    if (open == "{") return among(FEED);
    if (open == "{[{") return among(MESSAGE);
    return open == "{[{{" && key == "kind";
}

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
constexpr std::string_view ONLY_DOUBLE_QUOTES =
    "в JSON строки и ключи заключаются только в прямые двойные кавычки ASCII `\"`";

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_ascii_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::optional<std::string_view> name_of(const auto& table, char32_t value) {
    for (const NamedCharacter& c : table)
        if (c.value == value) return c.name;
    return std::nullopt;
}

Diagnosis at_byte(Mistake mistake, std::size_t at) {
    Diagnosis d;
    d.mistake = mistake;
    d.stop = d.stop_last = at;
    return d;
}

Diagnosis noted(Mistake mistake, std::size_t at, std::string note, std::size_t shown_begin, std::size_t shown_end) {
    Diagnosis d = at_byte(mistake, at);
    d.note = std::move(note);
    d.shown = Span{shown_begin, shown_end};
    return d;
}

Fix safe_fix(std::string_view title, std::vector<Edit> edits) {
    return Fix{.title = std::string(title), .safe = true, .edits = std::move(edits)};
}

// The most of a misread text a note quotes.
constexpr std::size_t QUOTED_CHARS = 40;

// The first `QUOTED_CHARS` characters of valid UTF-8 `text`, "…" after them when there are more.
std::string shortened(std::string_view text) {
    std::size_t end = 0;
    for (std::size_t chars = 0; end < text.size() && chars < QUOTED_CHARS; ++chars)
        end += first_character(text.substr(end)).length;
    return escape_unprintable(text.substr(0, end)) + (end < text.size() ? "…" : "");
}

std::string hex_byte(unsigned char byte) {
    std::string out = "0x";
    append_hex(out, byte, 2, HexLetters::upper);
    return out;
}

// The edits that re-encode the runs of bytes above 0x7F of `bytes` (from `from` on) as `utf8`
// has them: both hold the same bytes below 0x80 in the same order.
std::vector<Edit> recoding_edits(std::string_view bytes, std::size_t from, std::string_view utf8) {
    std::vector<Edit> edits;
    std::size_t i = from, j = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            ++j;
            continue;
        }
        std::size_t run_end = i, text_end = j;
        while (run_end < bytes.size() && static_cast<unsigned char>(bytes[run_end]) >= 0x80) ++run_end;
        while (text_end < utf8.size() && static_cast<unsigned char>(utf8[text_end]) >= 0x80) ++text_end;
        edits.push_back({i, run_end, std::string(utf8.substr(j, text_end - j))});
        i = run_end;
        j = text_end;
    }
    return edits;
}

// The length of the gap between two groups of a number's digits at `at`: a space, a no-break
// space or a narrow no-break space (what typesetting puts between thousands); 0 for none.
std::size_t group_gap(std::string_view bytes, std::size_t at) {
    for (const std::string_view gap : {" ", "\xC2\xA0", "\xE2\x80\xAF"})
        if (bytes.substr(at).starts_with(gap) && at + gap.size() < bytes.size() && is_digit(bytes[at + gap.size()]))
            return gap.size();
    return 0;
}

// The gaps of the number whose digits stand around the gap from `gap_begin` to `gap_end`, this
// one and every one after it between groups of digits (`1 798 761 600`).
std::vector<Edit> gaps_removed(std::string_view bytes, std::size_t gap_begin, std::size_t gap_end) {
    std::vector<Edit> edits = {{gap_begin, gap_end, ""}};
    for (std::size_t at = gap_end;;) {
        while (at < bytes.size() && is_digit(bytes[at])) ++at;
        const std::size_t gap = group_gap(bytes, at);
        if (gap == 0) return edits;
        edits.push_back({at, at + gap, ""});
        at += gap;
    }
}

// The number around the gap from `gap_begin` to `gap_end` written together: what a number
// broken by spaces reads as once they are gone.
std::string joined_number(std::string_view bytes, std::size_t gap_begin, std::size_t gap_end) {
    std::size_t begin = gap_begin;
    while (begin > 0 && (is_digit(bytes[begin - 1]) || bytes[begin - 1] == '-')) --begin;
    std::string out(bytes.substr(begin, gap_begin - begin));
    std::size_t at = gap_begin;
    for (const Edit& gap : gaps_removed(bytes, gap_begin, gap_end)) {
        out += bytes.substr(at, gap.begin - at);
        at = gap.end;
    }
    std::size_t end = at;
    while (end < bytes.size() && is_digit(bytes[end])) ++end;
    return out + std::string(bytes.substr(at, end - at));
}

bool digits_around(std::string_view bytes, std::size_t gap_begin, std::size_t gap_end) {
    return gap_begin > 0 && is_digit(bytes[gap_begin - 1]) && gap_end < bytes.size() && is_digit(bytes[gap_end]);
}

// The note on a character at `at` that looks like a space or like nothing, with its length;
// none for any other character.
std::optional<std::string> space_note(std::string_view bytes, std::size_t at, std::size_t* length) {
    const Character c = first_character(bytes.substr(at));
    if (!c.valid || c.value < 0x80 || (c.value == U'\uFEFF' && at == 0)) return std::nullopt;
    auto name = name_of(SPACE_LOOKALIKES, c.value);
    std::string unnamed;
    if (!name && is_invisible(c.value)) {
        unnamed = "невидимый символ " + code_point(c.value);
        name = unnamed;
    }
    if (!name) return std::nullopt;
    *length = c.length;
    std::string text = "здесь " + std::string(*name) + ": " + std::string(JSON_SPACES) +
                       "; замените этот символ обычным пробелом или удалите его";
    if (digits_around(bytes, at, at + c.length))
        text += "; внутри числа пробелов не бывает: `" + joined_number(bytes, at, at + c.length) + "`";
    return text;
}

// How the fixes of white space JSON does not allow name it: as its note does.
std::string space_name(char32_t c) {
    if (const auto name = name_of(SPACE_LOOKALIKES, c)) return std::string(name->substr(0, name->find(" U+")));
    return "невидимый символ";
}

std::optional<Diagnosis> dash(std::string_view bytes, std::size_t at) {
    const Character c = first_character(bytes.substr(at));
    const auto name = c.valid ? name_of(DASHES, c.value) : std::nullopt;
    if (!name) return std::nullopt;
    const std::size_t end = at + c.length;
    std::string example = "-";
    for (std::size_t i = end; i < bytes.size() && is_digit(bytes[i]); ++i) example += bytes[i];
    if (example.size() == 1) example += "1";
    Diagnosis d = noted(Mistake::dash_for_minus, at,
                        "здесь `" + std::string(bytes.substr(at, c.length)) + "` (" + std::string(*name) +
                            "), а не минус ASCII `-`: отрицательное число пишется с дефисом-минусом с клавиатуры: `" +
                            example + "`",
                        at, end);
    d.fix = safe_fix("заменить " + std::string(name->substr(0, name->find(" U+"))) + " минусом `-`", {{at, end, "-"}});
    return d;
}

// What authors bring from other writing where a token belongs: a comment that never ends, a
// single or typographic quotation mark that opens no string the reading could follow.
std::optional<Diagnosis> foreign_syntax(std::string_view bytes, std::size_t at) {
    const std::string_view rest = bytes.substr(at);
    if (rest.starts_with("//") || rest.starts_with("/*")) {
        Diagnosis d = at_byte(Mistake::unclosed_comment, at);
        d.note = "здесь комментарий `" + std::string(rest.substr(0, 2)) + "`: в JSON комментариев нет, удалите его";
        return d;
    }
    const Character c = first_character(rest);
    if (rest.front() == '\'' || (c.valid && is_typographic_quote(c.value)))
        return quote_mistake(bytes, at, at, rest.front() == '\'', {});
    return std::nullopt;
}

// A word that stands without quotation marks, from `at` up to the next JSON punctuation or
// white space, up to 40 bytes.
std::optional<std::string_view> bare_word(std::string_view bytes, std::size_t at) {
    if (!starts_bare_word(bytes, at)) return std::nullopt;
    std::size_t end = at;
    while (end < bytes.size() && end - at < 40 &&
           std::string_view(",:{}[]\" \t\r\n").find(bytes[end]) == std::string_view::npos)
        end += first_character(bytes.substr(end)).length;
    const std::string_view word = bytes.substr(at, end - at);
    if (!is_valid_utf8(word)) return std::nullopt;
    return word;
}

// The words other languages write for JSON's literals: the same literal in other letter cases
// certainly, another language's empty value probably.
struct ForeignLiteral {
    std::string_view json;
    std::string_view language;
    bool certain;
};

std::optional<ForeignLiteral> json_literal_for(std::string_view word) {
    std::string lower;
    for (const char c : word) lower += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower == "true" || lower == "false" || lower == "null")
        return ForeignLiteral{lower == "true" ? "true" : lower == "false" ? "false" : "null", "", true};
    if (word == "None") return ForeignLiteral{"null", "Python", false};
    if (word == "undefined") return ForeignLiteral{"null", "JavaScript", false};
    if (word == "nil") return ForeignLiteral{"null", "Ruby, Go и Lua", false};
    return std::nullopt;
}

// What stands between the token before `at` and the token at `at`.
std::optional<Diagnosis> between_tokens(std::string_view bytes, std::size_t at, const GrammarPlace& place) {
    const std::size_t before = previous_token_end(bytes, at);
    if (before == NO_OFFSET || place.open.empty()) return std::nullopt;
    const char open = place.open.back();
    const char p = bytes[before], s = bytes[at];

    const bool after_value = (p == '"' || p == '}' || p == ']' || is_digit(p) || p == 'e' || p == 'l') &&
                             (open == '[' || place.member_value);
    const bool starts_value =
        s == '"' || s == '{' || s == '[' || s == '-' || is_digit(s) || s == 't' || s == 'f' || s == 'n';
    const bool comma_or_end = place.wanted == Wanted::comma_or_end;
    if (comma_or_end && is_digit(p) && is_digit(s)) {
        // Digits right after digits are one malformed number (`01`), not two values.
        if (before + 1 == at) return at_byte(Mistake::malformed_number, at);
        std::size_t run = at;
        while (run < bytes.size() && is_digit(bytes[run])) ++run;
        const bool one_line = bytes.substr(before + 1, at - before - 1).find_first_of("\r\n") == std::string_view::npos;
        // In an array, two numbers apart may be two elements; a group of three digits is a thousands group.
        if (one_line && (open == '{' || run - at == 3)) {
            Diagnosis d = noted(Mistake::space_in_number, at,
                                "пробел внутри числа: в JSON число пишется слитно, без пробелов между разрядами: `" +
                                    joined_number(bytes, before + 1, at) + "`",
                                before + 1, at);
            d.fix = Fix{.title = "убрать пробелы внутри числа: " + joined_number(bytes, before + 1, at),
                        .safe = false,
                        .edits = gaps_removed(bytes, before + 1, at)};
            return d;
        }
    }
    if (comma_or_end && after_value && starts_value)
        return noted(Mistake::missing_comma, at,
                     std::string("не хватает запятой: ") +
                         (open == '{' ? "пары «ключ: значение» объекта" : "элементы массива") +
                         " разделяются запятыми; поставьте `,` здесь, после предыдущего значения",
                     before + 1, at);

    const auto word = bare_word(bytes, at);
    if (!word) return std::nullopt;
    const std::string shown = escape_unprintable(*word);
    const std::size_t end = at + word->size();
    // A fix writes the word as a key or a value only when it is the whole of one: what follows
    // it is what follows a key (`:`) or a value.
    std::size_t after = end;
    while (after < bytes.size() && (bytes[after] == ' ' || bytes[after] == '\t')) ++after;
    const char next = after < bytes.size() ? bytes[after] : '\n';
    const bool whole_key = next == ':';
    const bool whole_value = std::string_view(",}]\r\n").find(next) != std::string_view::npos;
    if (place.wanted == Wanted::key && open == '{' && !place.member_value) {
        Diagnosis d = noted(
            Mistake::bare_key, at,
            "ключ `" + shown + "` без кавычек: в JSON ключ пишется в прямых двойных кавычках: `\"" + shown + "\"`", at,
            end);
        if (whole_key) {
            d.fix = safe_fix("заключить ключ `" + shown + "` в кавычки", {{at, at, "\""}, {end, end, "\""}});
            // Quoted, a key the record does not have is refused all the same: only a suggestion.
            d.fix->safe = is_key_of_record(*word, place.open);
        }
        return d;
    }
    if (place.wanted != Wanted::value || (p != ':' && p != '[' && p != ',')) return std::nullopt;
    if (const auto literal = json_literal_for(*word)) {
        Diagnosis d = noted(Mistake::bare_value, at,
                            literal->certain ? "`" + shown + "`: в JSON это пишется маленькими буквами, `" +
                                                   std::string(literal->json) + "`"
                                             : "`" + shown + "` — так «нет значения» пишут в " +
                                                   std::string(literal->language) + "; в JSON это `null`",
                            at, end);
        if (whole_value)
            d.fix = Fix{.title = "заменить `" + shown + "` на `" + std::string(literal->json) + "`",
                        .safe = literal->certain,
                        .edits = {{at, end, std::string(literal->json)}}};
        return d;
    }
    Diagnosis d = noted(
        Mistake::bare_value, at,
        "значение `" + shown + "` без кавычек: строка пишется в прямых двойных кавычках: `\"" + shown + "\"`", at, end);
    if (whole_value)
        d.fix = Fix{
            .title = "заключить `" + shown + "` в кавычки", .safe = false, .edits = {{at, at, "\""}, {end, end, "\""}}};
    return d;
}

// The end of the document where the grammar wanted more: the brackets still open, closed in the
// order they must be, when only they are missing.
Diagnosis at_end(std::string_view bytes, const GrammarPlace& place) {
    // The reader stops at the last byte, or at the end itself when a line feed ends the document.
    Diagnosis d = at_byte(Mistake::unexpected, bytes.empty() ? 0 : bytes.size() - 1);
    d.stop_last = bytes.size();
    if (place.open.empty()) return d;
    const std::size_t last = previous_token_end(bytes, bytes.size());
    const char p = bytes[last];
    if (p == ',' || p == ':') return d;  // a value is missing too, not only brackets
    std::string closers;
    for (auto it = place.open.rbegin(); it != place.open.rend(); ++it) closers += *it == '{' ? '}' : ']';
    d.mistake = Mistake::open_at_end;
    d.note = "файл кончился, а скобки не закрыты: в конце не хватает `" + closers + "`";
    d.shown = Span{last + 1, last + 1};
    // Only probable: a file cut short lacks more than its brackets. And only after a whole value
    // or an open bracket: after `tru` or `1.` closing them reads no better.
    const bool whole = p == '"' || p == '}' || p == ']' || p == '{' || p == '[' || is_digit(p) ||
                       bytes.substr(0, last + 1).ends_with("true") || bytes.substr(0, last + 1).ends_with("false") ||
                       bytes.substr(0, last + 1).ends_with("null");
    if (whole)
        d.fix = Fix{.title = "закрыть скобки: " + closers, .safe = false, .edits = {{last + 1, last + 1, closers}}};
    return d;
}

// Each kind's line, in the order of the kinds.
constexpr std::array<std::string_view, static_cast<std::size_t>(Mistake::unexpected) + 1> MISTAKE_TEXTS = {
    "JSON: метка порядка байтов в начале файла",
    "JSON: байты не в UTF-8",
    "JSON: комментарий, которого в JSON нет",
    "JSON: комментарий не закрыт",
    "JSON: типографская кавычка вместо прямой",
    "JSON: строка в одинарных кавычках",
    "JSON: лишняя запятая перед закрывающей скобкой",
    "JSON: лишняя запятая",
    "JSON: пропущена запятая",
    "JSON: пропущено двоеточие после ключа",
    "JSON: у записи нет закрывающей скобки `}`",
    "JSON: пары «ключ: значение» в квадратных скобках",
    "JSON: пробел, которого JSON не допускает",
    "JSON: невидимый символ между элементами",
    "JSON: перевод строки внутри строки",
    "JSON: табуляция внутри строки",
    "JSON: управляющий символ внутри строки",
    "JSON: escape-последовательность, которой в JSON нет",
    "JSON: прямая кавычка внутри текста",
    "JSON: строка не закрыта до конца файла",
    "JSON: тире или знак минуса вместо дефиса-минуса",
    "JSON: пробел внутри числа",
    "JSON: число записано не так, как в JSON",
    "JSON: дата без кавычек",
    "JSON: опечатка в true, false или null",
    "JSON: ключ без кавычек",
    "JSON: слово без кавычек",
    "JSON: в конце файла не закрыты скобки",
    "JSON: здесь не разбирается",
};
static_assert(!MISTAKE_TEXTS.back().empty(), "every kind of mistake has its line");

}  // namespace

std::string_view mistake_text(Mistake mistake) { return MISTAKE_TEXTS[static_cast<std::size_t>(mistake)]; }

Diagnosis byte_order_mark_mistake() {
    Diagnosis d = at_byte(Mistake::byte_order_mark, 0);
    d.note = "файл начинается с метки порядка байтов (BOM, байты EF BB BF): сохраните его в UTF-8 без BOM (" +
             std::string(SAVE_WITHOUT_BOM) + ")";
    d.fix = safe_fix("удалить метку порядка байтов (BOM)", {{0, 3, ""}});
    return d;
}

Diagnosis not_utf8_mistake(std::string_view bytes, std::size_t first, std::size_t end) {
    Diagnosis d = at_byte(Mistake::not_utf8, first);
    const std::size_t skipped = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    const std::string_view body = bytes.substr(skipped);
    const std::vector<Recoding> recodings = first >= skipped ? plausible_recodings(body) : std::vector<Recoding>{};
    const auto read = [&](CodePage page) { return shortened(read_part(page, body, first - skipped, end - skipped)); };
    if (recodings.size() == 1) {
        const CodePage page = recodings.front().page;
        d.note = "файл не в UTF-8: похоже, он сохранён в кодировке " + std::string(code_page_name(page)) +
                 " (в ней эти байты читаются как «" + read(page) +
                 "»); откройте его в этой кодировке и сохраните в UTF-8 (" + std::string(reopen_steps(page)) + ")";
        d.fix = safe_fix("перекодировать файл из " + std::string(code_page_name(page)) + " в UTF-8",
                         recoding_edits(bytes, skipped, recodings.front().text));
    } else if (recodings.size() > 1) {
        d.note =
            "файл не в UTF-8: похоже, он сохранён в одной из кириллических кодировок, и по тексту не понять, "
            "в какой:";
        for (std::size_t i = 0; i < recodings.size(); ++i)
            d.note += std::string(i == 0 ? " " : ", ") + "в " + std::string(code_page_name(recodings[i].page)) +
                      " эти байты читаются как «" + read(recodings[i].page) + "»";
        d.note += "; откройте файл в той, в которой текст верен, и сохраните в UTF-8";
    } else {
        d.note = "файл не в UTF-8: байт " + hex_byte(static_cast<unsigned char>(bytes[first])) +
                 " не начинает символ UTF-8; сохраните файл в кодировке UTF-8 (" + std::string(SAVE_AS_UTF8) + ")";
    }
    return d;
}

Diagnosis utf16_mistake(std::string_view bytes, std::string text) {
    Diagnosis d = at_byte(Mistake::not_utf8, 0);
    d.stop_last = 1;
    d.shown = Span{0, 2};
    d.note = std::string("файл в кодировке UTF-16 (он начинается с её метки порядка байтов, ") +
             (bytes.starts_with("\xFF\xFE") ? "FF FE" : "FE FF") +
             "), а лента читается только в UTF-8: сохраните его в UTF-8 (" +
             std::string(reopen_steps(CodePage::utf_16)) + ")";
    d.fix = safe_fix("перекодировать файл из UTF-16 в UTF-8", {{0, bytes.size(), std::move(text)}});
    return d;
}

Diagnosis comment_mistake(std::string_view bytes, std::size_t begin, std::size_t end) {
    std::size_t from = begin, to = end;
    while (from > 0 && (bytes[from - 1] == ' ' || bytes[from - 1] == '\t')) --from;
    while (to < bytes.size() && (bytes[to] == ' ' || bytes[to] == '\t')) ++to;
    const bool line_starts = from == 0 || bytes[from - 1] == '\n';
    const bool crlf = to + 1 < bytes.size() && bytes[to] == '\r' && bytes[to + 1] == '\n';
    const bool line_ends = to == bytes.size() || bytes[to] == '\n' || crlf;
    if (!line_ends) {
        // Inside a line: the comment and the spaces after it, when spaces stand before it.
        from = begin;
        if (begin == 0 || (bytes[begin - 1] != ' ' && bytes[begin - 1] != '\t')) to = end;
    } else if (line_starts && to < bytes.size()) {
        to += crlf ? 2 : 1;
    }
    Diagnosis d = at_byte(Mistake::comment, begin);
    const std::string_view opener = bytes.substr(begin, bytes[begin] == '#' ? 1 : 2);
    d.note = "здесь комментарий `" + std::string(opener) + "`: в JSON комментариев нет, удалите его";
    d.fix = safe_fix("удалить комментарий", {{from, to, ""}});
    return d;
}

Diagnosis quote_mistake(std::string_view bytes, std::size_t mark, std::size_t stop_last, bool single,
                        std::vector<Edit> edits) {
    Diagnosis d = at_byte(single ? Mistake::single_quote : Mistake::typographic_quote, mark);
    d.stop_last = stop_last;
    const Character c = first_character(bytes.substr(mark));
    d.shown = Span{mark, mark + c.length};
    if (single) {
        d.note = "здесь одинарная кавычка `'`: " + std::string(ONLY_DOUBLE_QUOTES);
    } else {
        d.note = "здесь типографская кавычка `" + std::string(bytes.substr(mark, c.length)) + "` (" +
                 code_point(c.value) + "): " + std::string(ONLY_DOUBLE_QUOTES) + "; " + std::string(SMART_QUOTES_OFF);
    }
    if (!edits.empty())
        d.fix = safe_fix(single ? "заменить одинарные кавычки на двойные" : "заменить типографские кавычки на прямые",
                         std::move(edits));
    return d;
}

Diagnosis trailing_comma_mistake(std::string_view bytes, std::size_t comma, std::size_t bracket) {
    Diagnosis d =
        noted(Mistake::trailing_comma, bracket,
              std::string("лишняя запятая: после ") +
                  (bytes[bracket] == '}' ? "последней пары «ключ: значение» объекта" : "последнего элемента массива") +
                  " запятая не ставится; удалите её",
              comma, comma + 1);
    d.fix = safe_fix("удалить лишнюю запятую", {{comma, comma + 1, ""}});
    return d;
}

Diagnosis extra_comma_mistake(std::size_t comma, bool first) {
    Diagnosis d = noted(Mistake::extra_comma, comma,
                        first ? "лишняя запятая: перед первым элементом запятая не ставится; удалите её"
                              : "две запятые подряд: между элементами ставится одна; удалите лишнюю",
                        comma, comma + 1);
    d.fix = safe_fix("удалить лишнюю запятую", {{comma, comma + 1, ""}});
    return d;
}

Diagnosis missing_colon_mistake(std::string_view bytes, std::size_t key_begin, std::size_t key_end, std::size_t value) {
    const std::string key = escape_unprintable(bytes.substr(key_begin, key_end - key_begin));
    Diagnosis d =
        noted(Mistake::missing_colon, value,
              "после ключа " + key + " нет двоеточия: ключ и значение разделяются `:`, пишите `" + key + ": …`",
              key_end, value);
    d.fix = safe_fix("вставить двоеточие после ключа " + key, {{key_end, key_end, ":"}});
    return d;
}

Diagnosis unclosed_record_mistake(std::size_t comma, std::size_t next) {
    Diagnosis d = noted(Mistake::unclosed_record, next,
                        "здесь начинается новая запись, а предыдущая не закрыта: похоже, перед запятой пропущена "
                        "закрывающая скобка `}`",
                        next, next + 1);
    d.fix = Fix{.title = "закрыть предыдущую запись скобкой `}`", .safe = false, .edits = {{comma, comma, "}"}}};
    return d;
}

Diagnosis members_in_array_mistake(std::size_t open, std::size_t close, std::size_t colon) {
    Diagnosis d = noted(Mistake::members_in_array, colon,
                        "пары «ключ: значение» пишутся в фигурных скобках `{ … }`, а здесь они в квадратных `[ … ]`",
                        open, open + 1);
    if (close != NO_OFFSET)
        d.fix = Fix{.title = "заменить квадратные скобки фигурными",
                    .safe = false,
                    .edits = {{open, open + 1, "{"}, {close, close + 1, "}"}}};
    return d;
}

Diagnosis quote_in_text_mistake(std::string_view bytes, std::size_t first, const std::vector<std::size_t>& inner) {
    Diagnosis d = noted(Mistake::quote_in_text, skip_space(bytes, first + 1),
                        "прямая кавычка `\"` внутри текста закрывает строку раньше времени: внутри строки пишите "
                        "её как `\\\"` или возьмите «ёлочки»",
                        first, first + 1);
    std::vector<Edit> edits;
    for (const std::size_t at : inner) edits.push_back({at, at + 1, "\\\""});
    d.fix = Fix{.title = "записать кавычки внутри текста как \\\"", .safe = false, .edits = std::move(edits)};
    return d;
}

Diagnosis missing_comma_mistake(std::string_view bytes, std::size_t value_end, std::size_t next, char open) {
    Diagnosis d = at_byte(Mistake::missing_comma, next);
    if (auto noted_here = between_tokens(
            bytes, next,
            {.wanted = Wanted::comma_or_end, .open = open == '{' ? "{" : "[", .member_value = open == '{'}))
        d = std::move(*noted_here);
    else if (auto foreign = foreign_syntax(bytes, next))
        d.note = std::move(foreign->note);  // a key in typographic quotation marks
    d.mistake = Mistake::missing_comma;
    d.fix = safe_fix("вставить пропущенную запятую", {{value_end, value_end, ","}});
    return d;
}

Diagnosis foreign_space_mistake(std::string_view bytes, std::size_t at) {
    const Character c = first_character(bytes.substr(at));
    Diagnosis d = at_byte(Mistake::foreign_space, at);
    std::size_t length = 0;
    if (auto note = space_note(bytes, at, &length)) {
        d.note = std::move(*note);
        d.shown = Span{at, at + length};
    }
    // Between two digits it splits one number: a space there would still split it.
    d.fix = digits_around(bytes, at, at + c.length)
                ? safe_fix("удалить " + space_name(c.value) + " " + code_point(c.value) + " внутри числа",
                           {{at, at + c.length, ""}})
                : safe_fix("заменить " + space_name(c.value) + " " + code_point(c.value) + " обычным пробелом",
                           {{at, at + c.length, " "}});
    return d;
}

Diagnosis control_mistake(std::string_view bytes, std::size_t at, bool cr_lines) {
    const char c = bytes[at];
    if (c == '\n' || c == '\r') {
        const bool crlf = c == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n';
        const std::size_t end = crlf ? at + 2 : at + 1;
        Diagnosis d = noted(Mistake::line_break_in_string, at,
                            "строка не закрыта до конца строки: перевод строки внутри строки пишется `\\n`; если "
                            "строка здесь кончается, поставьте закрывающую кавычку `\"`",
                            at, end);
        d.fix = safe_fix("записать перевод строки внутри строки как \\n", {{at, end, "\\n"}});
        // A lone carriage return ends a line only where the document's lines end so.
        if (c == '\r' && !crlf && !cr_lines) d.fix->safe = false;
        return d;
    }
    if (c == '\t') {
        Diagnosis d = noted(Mistake::tab_in_string, at,
                            "табуляция внутри строки: в JSON она пишется `\\t`, но в title и body управляющих символов "
                            "быть не должно, поставьте вместо неё пробел",
                            at, at + 1);
        d.fix = Fix{.title = "заменить табуляцию внутри строки пробелом", .safe = false, .edits = {{at, at + 1, " "}}};
        return d;
    }
    std::string escape = code_point(static_cast<unsigned char>(c));
    escape.replace(0, 2, "\\u");
    return noted(
        Mistake::control_in_string, at,
        "управляющий символ " + code_point(static_cast<unsigned char>(c)) + " внутри строки пишется `" + escape + "`",
        at, at + 1);
}

Diagnosis escape_mistake(std::size_t at) {
    // The reader stops at the letter after the backslash, or takes the four digits of a `\u`
    // escape (and of the trailing surrogate after a leading one) first.
    Diagnosis d = at_byte(Mistake::invalid_escape, at + 1);
    d.stop_last = at + 11;
    return d;
}

Diagnosis stuck_mistake(std::string_view bytes, std::size_t at, const GrammarPlace& place) {
    if (at >= bytes.size()) return at_end(bytes, place);
    if (auto d = foreign_syntax(bytes, at)) return *d;
    std::size_t length = 0;
    if (auto note = space_note(bytes, at, &length)) {
        // Between tokens a character that shows nothing stands for nothing.
        Diagnosis d = noted(Mistake::invisible_character, at, std::move(*note), at, at + length);
        const char32_t c = first_character(bytes.substr(at)).value;
        d.fix = safe_fix("удалить невидимый символ " + code_point(c), {{at, at + length, ""}});
        return d;
    }
    if (auto d = dash(bytes, at)) return *d;
    if (auto d = between_tokens(bytes, at, place)) return *d;
    return at_byte(Mistake::unexpected, at);
}

std::optional<Diagnosis> unquoted_date_mistake(std::string_view bytes, std::size_t begin, std::size_t end,
                                               std::size_t stop, const AuthorZone& zone) {
    const std::string_view text = bytes.substr(begin, end - begin);
    // Only the date alone: a time after it would not be in the run of number characters.
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto date = date_seconds(text, zone);
    if (!date) return std::nullopt;
    const std::string seconds = signed_decimal(date->seconds);
    Diagnosis d = noted(Mistake::unquoted_date, stop,
                        "дата `" + std::string(text) +
                            "` без кавычек, как число: время в ленте — целое число секунд Unix; эта дата " +
                            zone_words(zone) + " — " + seconds,
                        begin, end);
    d.fix = Fix{.title = date_fix_title(*date, zone), .safe = false, .edits = {{begin, end, seconds}}};
    return d;
}

std::size_t number_stop(std::string_view bytes, std::size_t begin, std::size_t end) {
    std::size_t i = begin;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < end && is_digit(bytes[i])) ++i;
        return i > from;
    };
    if (i < end && bytes[i] == '-') ++i;
    if (i < end && bytes[i] == '0') {
        ++i;
    } else if (!digits()) {
        return i;
    }
    if (i < end && bytes[i] == '.') {
        ++i;
        if (!digits()) return i;
    }
    if (i < end && (bytes[i] == 'e' || bytes[i] == 'E')) {
        ++i;
        if (i < end && (bytes[i] == '+' || bytes[i] == '-')) ++i;
        if (!digits()) return i;
    }
    return i == end ? NO_OFFSET : i;
}

bool starts_bare_word(std::string_view bytes, std::size_t at) {
    const Character first = first_character(bytes.substr(at));
    return is_ascii_letter(bytes[at]) || bytes[at] == '_' || bytes[at] == '$' ||
           (first.valid && first.value >= 0x0400 && first.value <= 0x04FF);
}

}  // namespace mt::lint
