// The lint core over a table of drafts: every problem's severity, line, column, text and notes,
// for the notes an author gets on a reading error and for the warnings; then the size problem.
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "lint/problems.h"

namespace mt::lint {
namespace {

// Inside every row's window: the default message runs from 2026-01-01 to 2026-02-01.
constexpr CheckOptions OPTIONS = {.now = 1'768'000'000};

const std::string OPEN = "{\"schema\": 1, \"revision\": 1, \"messages\": [";
const std::string HEAD = OPEN + "\n";

// A message on a line of its own; `more` goes in before its closing brace.
std::string message(std::string_view more = "") {
    return R"(  {"id": "a", "priority": 1, "title": "t", "body": "b", "start_at": 1767225600, "end_at": 1769904000)" +
           std::string(more) + "}";
}

// A feed of that one message, its three lines ended by `eol`.
std::string feed(std::string_view more, const std::string& eol = "\n") {
    return OPEN + eol + message(more) + eol + "]}" + eol;
}

// `text` with the first `from` replaced by `to`.
std::string with(std::string text, std::string_view from, std::string_view to) {
    return text.replace(text.find(from), from.size(), to);
}

std::string reading(std::string_view text) { return "messages: JSON ленты не разбирается: " + std::string(text); }

struct Expected {
    Severity severity;
    std::size_t line, column;
    std::string text;
    std::vector<std::string> notes;
    friend bool operator==(const Expected&, const Expected&) = default;
};

void PrintTo(const Expected& e, std::ostream* os) {
    *os << (e.severity == Severity::error ? "error " : "warning ") << e.line << ":" << e.column << " " << e.text;
    for (const auto& note : e.notes) *os << "\n  = " << note;
}

struct Row {
    const char* name;
    std::string document;
    std::vector<Expected> expected;
};

constexpr Severity E = Severity::error, W = Severity::warning;

const std::string SAVE_1251 =
    "); откройте его в этой кодировке и сохраните в UTF-8 (VS Code: кодировка в строке состояния → «Reopen with "
    "Encoding» → «Cyrillic (Windows 1251)», затем «Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», "
    "кодировка «UTF-8»)";
// The note on a byte that begins no UTF-8 character and reads as no Russian text.
std::string not_utf8(std::string_view byte) {
    return "файл не в UTF-8: байт " + std::string(byte) +
           " не начинает символ UTF-8; сохраните файл в кодировке UTF-8 (VS Code: кодировка в строке состояния → "
           "«Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», кодировка «UTF-8»)";
}

std::string in_1251(std::string_view text) {
    return "файл не в UTF-8: похоже, он сохранён в кодировке Windows-1251 (в ней эти байты читаются как «" +
           std::string(text) + "»" + SAVE_1251;
}

// The warning on a time value in milliseconds, and the date and seconds its note gives.
Expected in_milliseconds(std::size_t line, std::size_t column, std::string_view field, std::string_view value, char id,
                         std::string_view date, std::string_view seconds) {
    return {W,
            line,
            column,
            std::string(field) + " " + std::string(value) + " похоже на миллисекунды, а не секунды (id \"" + id + "\")",
            {"в секундах Unix это дальше 5138 года, в миллисекундах — " + std::string(date) + ", то есть " +
             std::string(seconds) + " в секундах (приложение само не приписывает полям времени единиц: это догадка)"}};
}

const std::string ASCII_QUOTES = "в JSON строки и ключи заключаются только в прямые двойные кавычки ASCII `\"`";
const std::string AUTOCORRECT = "; такие кавычки ставит автозамена текстового редактора";
const std::string MAY_MEAN = "возможно, имелось в виду ";
const std::string MESSAGE_KEYS =
    "expected one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, `cta`, `minVersion`, `maxVersion`";

TEST(LintNotes, ProblemsOfDrafts) {
    const std::vector<Row> rows = {
        // A reading error just after a line feed stands at the end of the line before.
        {"line end LF", feed(",\n  \"cta\": nul\n"), {{E, 3, 13, reading("expected ident at line 4 column 0"), {}}}},
        {"line end CRLF",
         feed(",\r\n  \"cta\": nul\r\n", "\r\n"),
         {{E, 3, 13, reading("expected ident at line 3 column 13"), {}}}},
        {"end of input after CRLF",
         "{\"schema\": 1,\r\n",
         {{E, 1, 14, reading("EOF while parsing a value at line 2 column 0"), {}}}},
        {"line break in a string",
         HEAD + "  {\"id\": \"a\n\"}]}",
         {{E,
           2,
           12,
           reading("control character (\\u0000-\\u001F) found while parsing a string at line 3 column 0"),
           {}}}},
        // What authors bring from other writing.
        {"typographic quotes",
         HEAD + "  {\"id\": “a”}]}",
         {{E,
           2,
           10,
           reading("expected value at line 2 column 10"),
           {"здесь типографская кавычка `“` (U+201C): " + ASCII_QUOTES + AUTOCORRECT}}}},
        {"guillemets",
         "{«schema»: 1}",
         {{E,
           1,
           2,
           reading("key must be a string at line 1 column 2"),
           {"здесь типографская кавычка `«` (U+00AB): " + ASCII_QUOTES + AUTOCORRECT}}}},
        {"single quotes",
         "{'schema': 1}",
         {{E,
           1,
           2,
           reading("key must be a string at line 1 column 2"),
           {"здесь одинарная кавычка `'`: " + ASCII_QUOTES}}}},
        {"line comment",
         "{\"schema\": 1, // the format\n\"revision\": 1}",
         {{E,
           1,
           15,
           reading("key must be a string at line 1 column 15"),
           {"здесь комментарий `//`: в JSON комментариев нет, удалите его"}}}},
        {"block comment",
         "{\"schema\": 1 /* the format */}",
         {{E,
           1,
           14,
           reading("expected `,` or `}` at line 1 column 14"),
           {"здесь комментарий `/*`: в JSON комментариев нет, удалите его"}}}},
        // Bytes that are not UTF-8: the caret on the first of them.
        {"Windows-1251",
         HEAD + "  {\"id\": \"\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0 \xAB\xEE\xEA\xBB\"}]}",
         {{E,
           2,
           11,
           reading("invalid unicode code point at line 2 column 27"),
           {"файл не в UTF-8: похоже, он сохранён в кодировке Windows-1251 (в ней эти байты читаются как «Привет, "
            "мир «ок»»" +
            SAVE_1251}}}},
        // Every typographic sign the code page has, 0x80 (its first letter, Ђ) and 0x7F (the last ASCII).
        {"Windows-1251 typography",
         HEAD + "  {\"id\": \"\x80\xAB\xCF\xF0\xE8\xE2\xE5\xF2\xBB \x96 \x97 \x91\x92 \x93\x94 \x84 \x85 "
                "\xB9\xA0\x7F\"}]}",
         {{E,
           2,
           11,
           reading("invalid unicode code point at line 2 column 38"),
           {in_1251("Ђ«Привет» – — ‘’ “” „ … №\\u{a0}\\u{7f}")}}}},
        {"Windows-1251 signs without a letter",
         HEAD + "  {\"id\": \"\xAB\xBB\"}]}",
         {{E, 2, 11, reading("invalid unicode code point at line 2 column 13"), {not_utf8("0xAB")}}}},
        {"Latin-1",
         HEAD + "  {\"id\": \"caf\xE9\"}]}",
         {{E, 2, 14, reading("invalid unicode code point at line 2 column 15"), {not_utf8("0xE9")}}}},
        // A letter next to a Latin letter, before or after it, at each end of the Latin alphabets.
        {"Latin-1 after A",
         HEAD + "  {\"id\": \"A\xE9\"}]}",
         {{E, 2, 12, reading("invalid unicode code point at line 2 column 13"), {not_utf8("0xE9")}}}},
        {"Latin-1 after Z",
         HEAD + "  {\"id\": \"Z\xE9\"}]}",
         {{E, 2, 12, reading("invalid unicode code point at line 2 column 13"), {not_utf8("0xE9")}}}},
        {"Latin-1 after a",
         HEAD + "  {\"id\": \"a\xE9\"}]}",
         {{E, 2, 12, reading("invalid unicode code point at line 2 column 13"), {not_utf8("0xE9")}}}},
        {"Latin-1 before z",
         HEAD + "  {\"id\": \"\xE9z\"}]}",
         {{E, 2, 11, reading("invalid unicode code point at line 2 column 13"), {not_utf8("0xE9")}}}},
        {"empty",
         "",
         {{E,
           1,
           1,
           reading("EOF while parsing a value at line 1 column 0"),
           {"файл пуст: лента — это объект {\"schema\": 1, \"revision\": …, \"messages\": […]}"}}}},
        {"only a line feed",
         "\n",
         {{E,
           1,
           1,
           reading("EOF while parsing a value at line 2 column 0"),
           {"в файле только пробелы и переводы строк: лента — это объект {\"schema\": 1, \"revision\": …, "
            "\"messages\": […]}"}}}},
        {"only CR LF",
         "\r\n",
         {{E,
           1,
           1,
           reading("EOF while parsing a value at line 2 column 0"),
           {"в файле только пробелы и переводы строк: лента — это объект {\"schema\": 1, \"revision\": …, "
            "\"messages\": […]}"}}}},
        {"blank",
         " \r\n\n",
         {{E,
           2,
           1,
           reading("EOF while parsing a value at line 3 column 0"),
           {"в файле только пробелы и переводы строк: лента — это объект {\"schema\": 1, \"revision\": …, "
            "\"messages\": […]}"}}}},
        // Records: which message, where it starts, where a key was first given.
        {"missing field",
         HEAD + message() + ",\n  {\"id\": \"promo\", \"priority\": 1}\n]}",
         {{E,
           3,
           3,
           reading("missing field `title` at line 3 column 32"),
           {"в сообщении messages[1] (id \"promo\") нет обязательного поля `title`; сообщение начинается здесь"}}}},
        {"missing id",
         HEAD + "  {\"priority\": 1}]}",
         {{E,
           2,
           3,
           reading("missing field `id` at line 2 column 17"),
           {"в сообщении messages[0] нет обязательного поля `id`; сообщение начинается здесь"}}}},
        {"missing kind",
         feed(", \"cta\": {}"),
         {{E,
           2,
           110,
           reading("missing field `kind` at line 2 column 111"),
           {"в cta сообщения messages[0] (id \"a\") нет обязательного поля `kind`; cta начинается здесь"}}}},
        {"missing schema",
         "{\"revision\": 1}",
         {{E,
           1,
           1,
           reading("missing field `schema` at line 1 column 15"),
           {"в объекте ленты нет обязательного поля `schema`"}}}},
        {"duplicate key",
         "{\"schema\": 1,\n \"revision\": 1, \"schema\": 1}",
         {{E,
           2,
           24,
           reading("duplicate field `schema` at line 2 column 24"),
           {"ключ `schema` уже есть в этом объекте: строка 1, столбец 2"}}}},
        // Suggestions: case only, up to two edits for long keys, one for short ones, never three.
        {"kind one edit",
         feed(", \"cta\": {\"kind\": \"open_licence\"}"),
         {{E,
           2,
           132,
           reading("unknown variant `open_licence`, expected one of `open_updates`, `open_appearance`, "
                   "`open_license` at line 2 column 132"),
           {MAY_MEAN + "`open_license`"}}}},
        {"kind far off",
         feed(", \"cta\": {\"kind\": \"link\"}"),
         {{E,
           2,
           124,
           reading("unknown variant `link`, expected one of `open_updates`, `open_appearance`, `open_license` at "
                   "line 2 column 124"),
           {}}}},
        {"key case only",
         HEAD + "  {\"ID\": 1}]}",
         {{E, 2, 7, reading("unknown field `ID`, " + MESSAGE_KEYS + " at line 2 column 7"), {MAY_MEAN + "`id`"}}}},
        {"key two edits",
         HEAD + "  {\"prxxrity\": 1}]}",
         {{E,
           2,
           13,
           reading("unknown field `prxxrity`, " + MESSAGE_KEYS + " at line 2 column 13"),
           {MAY_MEAN + "`priority`"}}}},
        {"key three edits",
         HEAD + "  {\"pxxxrity\": 1}]}",
         {{E, 2, 13, reading("unknown field `pxxxrity`, " + MESSAGE_KEYS + " at line 2 column 13"), {}}}},
        {"short key two edits",
         HEAD + "  {\"tiel\": 1}]}",
         {{E, 2, 9, reading("unknown field `tiel`, " + MESSAGE_KEYS + " at line 2 column 9"), {}}}},
        {"key one insertion",
         HEAD + "  {\"bdy\": 1}]}",
         {{E, 2, 8, reading("unknown field `bdy`, " + MESSAGE_KEYS + " at line 2 column 8"), {MAY_MEAN + "`body`"}}}},
        {"key one substitution",
         HEAD + "  {\"bodi\": 1}]}",
         {{E, 2, 9, reading("unknown field `bodi`, " + MESSAGE_KEYS + " at line 2 column 9"), {MAY_MEAN + "`body`"}}}},
        {"two-letter key one edit",
         HEAD + "  {\"idd\": 1}]}",
         {{E, 2, 8, reading("unknown field `idd`, " + MESSAGE_KEYS + " at line 2 column 8"), {MAY_MEAN + "`id`"}}}},
        {"six-letter key two edits",
         "{\"shcema\": 1}",
         {{E,
           1,
           9,
           reading("unknown field `shcema`, expected one of `schema`, `revision`, `messages` at line 1 column 9"),
           {MAY_MEAN + "`schema`"}}}},
        {"key case and two edits",
         HEAD + "  {\"stArt_xx\": 1}]}",
         {{E,
           2,
           13,
           reading("unknown field `stArt_xx`, " + MESSAGE_KEYS + " at line 2 column 13"),
           {MAY_MEAN + "`start_at`"}}}},
        // Neither a key inside a longer word nor a longer key's tail is a near miss.
        {"key inside a word",
         HEAD + "  {\"message_id\": 1}]}",
         {{E, 2, 15, reading("unknown field `message_id`, " + MESSAGE_KEYS + " at line 2 column 15"), {}}}},
        {"tail of a key",
         HEAD + "  {\"version\": 1}]}",
         {{E, 2, 12, reading("unknown field `version`, " + MESSAGE_KEYS + " at line 2 column 12"), {}}}},
        // A Cyrillic а in a Latin key: two edits from minVersion, one from maxVersion.
        {"key nearer later",
         HEAD + "  {\"mаxVersion\": 1}]}",
         {{E,
           2,
           15,
           reading("unknown field `mаxVersion`, " + MESSAGE_KEYS + " at line 2 column 16"),
           {MAY_MEAN + "`maxVersion`"}}}},
        {"empty key",
         HEAD + "  {\"\": 1}]}",
         {{E, 2, 5, reading("unknown field ``, " + MESSAGE_KEYS + " at line 2 column 5"), {}}}},
        // As near to minVersion as to maxVersion: the first in the record wins.
        {"key equally near two",
         HEAD + "  {\"mVersion\": 1}]}",
         {{E,
           2,
           13,
           reading("unknown field `mVersion`, " + MESSAGE_KEYS + " at line 2 column 13"),
           {MAY_MEAN + "`minVersion`"}}}},
        {"$schema",
         "{\"$schema\": \"x\"}",
         {{E,
           1,
           10,
           reading("unknown field `$schema`, expected one of `schema`, `revision`, `messages` at line 1 column 10"),
           {"ключ `$schema` лента не допускает: удалите его и свяжите схему с файлом в настройках редактора (VS "
            "Code: json.schemas; JetBrains: JSON Schema Mappings; см. «Editor set-up» в doc/feed-format.md)"}}}},
        // The reader's type names in plain words.
        {"u8",
         HEAD + "  {\"id\": \"a\", \"priority\": 256}]}",
         {{E,
           2,
           29,
           reading("invalid value: integer `256`, expected u8 at line 2 column 29"),
           {"u8 — это целое число от 0 до 255"}}}},
        {"u32 and a fraction",
         "{\"schema\": 1e0}",
         {{E,
           1,
           14,
           reading("invalid type: floating point `1.0`, expected u32 at line 1 column 14"),
           {"число с дробной частью или показателем степени (`1.0`, `1e2`) не целое, даже если равно целому: пишите "
            "`1`, `100`",
            "u32 — это целое число от 0 до 4294967295"}}}},
        {"u64",
         "{\"schema\": 1, \"revision\": -1}",
         {{E,
           1,
           28,
           reading("invalid value: integer `-1`, expected u64 at line 1 column 28"),
           {"u64 — это целое число от 0 до 18446744073709551615"}}}},
        {"i64",
         with(feed(""), "1767225600", "\"1767225600\""),
         {{E,
           2,
           80,
           reading("invalid type: string \"1767225600\", expected i64 at line 2 column 80"),
           {"i64 — это целое число от -9223372036854775808 до 9223372036854775807"}}}},
        {"struct Cta",
         feed(", \"cta\": \"open_updates\""),
         {{E,
           2,
           123,
           reading("invalid type: string \"open_updates\", expected struct Cta at line 2 column 123"),
           {"struct Cta — это объект {\"kind\": …}"}}}},
        {"struct Message",
         HEAD + "  []]}",
         {{E, 2, 4, reading("invalid length 0, expected struct Message with 9 elements at line 2 column 4"), {}}}},
        {"struct Feed",
         "null",
         {{E,
           1,
           4,
           reading("invalid type: null, expected struct Feed at line 1 column 4"),
           {"struct Feed — это объект ленты {\"schema\": 1, \"revision\": …, \"messages\": […]}"}}}},
        {"a sequence",
         "{\"schema\": 1, \"revision\": 1, \"messages\": {}}",
         {{E,
           1,
           41,
           reading("invalid type: map, expected a sequence at line 1 column 41"),
           {"a sequence — это массив: […]"}}}},
        {"a string",
         HEAD + "  {\"id\": 7}]}",
         {{E,
           2,
           10,
           reading("invalid type: integer `7`, expected a string at line 2 column 10"),
           {"a string — это строка в двойных кавычках: \"…\""}}}},
        {"unit",
         feed(", \"cta\": {\"kind\": {\"open_updates\": true}}"),
         {{E,
           2,
           139,
           reading("invalid type: boolean `true`, expected unit at line 2 column 139"),
           {"unit — это null"}}}},
        // Warnings: after every error, message by message.
        {"milliseconds",
         HEAD + with(message(), "\"priority\": 1", "\"priority\": 3") + ",\n" +
             with(with(message(), "\"a\"", "\"b\""), "1767225600", "-1767225600000") + "\n]}",
         {{E, 2, 27, "messages: priority 3 вне 0..=2 (id \"a\")", {}},
          {W,
           3,
           69,
           "start_at -1767225600000 похоже на миллисекунды, а не секунды (id \"b\")",
           {"в секундах Unix это дальше 5138 года, в миллисекундах — 1914-01-01 00:00:00 UTC, то есть -1767225600 в "
            "секундах (приложение само не приписывает полям времени единиц: это догадка)"}}}},
        {"milliseconds from 10^11 on",
         with(with(feed(""), "1767225600", "100000000000"), "1769904000", "100000000001"),
         {{W,
           2,
           93,
           "end_at 100000000001 похоже на миллисекунды, а не секунды (id \"a\")",
           {"в секундах Unix это дальше 5138 года, в миллисекундах — 1973-03-03 09:46:40 UTC, то есть 100000000 в "
            "секундах (приложение само не приписывает полям времени единиц: это догадка)"}}}},
        // Dates on either side of the dated range, of the era before year 0, of each end of a year.
        {"milliseconds as dates",
         HEAD + with(with(message(), "1767225600", "-100000000000000"), "1769904000", "100000000000000") + ",\n" +
             with(with(with(message(), "\"a\"", "\"b\""), "1767225600", "-74784816000000"), "1769904000",
                  "4102444799000") +
             ",\n" +
             with(with(with(message(), "\"a\"", "\"c\""), "1767225600", "1721001600000"), "1769904000",
                  "100000000001000") +
             ",\n" +
             with(with(with(message(), "\"a\"", "\"d\""), "1767225600", "4107542400000"), "1769904000",
                  "4119292800000") +
             "\n]}",
         {in_milliseconds(2, 69, "start_at", "-100000000000000", 'a', "-1199-02-15 14:13:20 UTC", "-100000000000"),
          in_milliseconds(2, 97, "end_at", "100000000000000", 'a', "5138-11-16 09:46:40 UTC", "100000000000"),
          in_milliseconds(3, 69, "start_at", "-74784816000000", 'b', "-400-03-01 00:00:00 UTC", "-74784816000"),
          in_milliseconds(3, 96, "end_at", "4102444799000", 'b', "2099-12-31 23:59:59 UTC", "4102444799"),
          in_milliseconds(4, 69, "start_at", "1721001600000", 'c', "2024-07-15 00:00:00 UTC", "1721001600"),
          in_milliseconds(4, 94, "end_at", "100000000001000", 'c', "100000000001", "100000000001"),
          in_milliseconds(5, 69, "start_at", "4107542400000", 'd', "2100-03-01 00:00:00 UTC", "4107542400"),
          in_milliseconds(5, 94, "end_at", "4119292800000", 'd', "2100-07-15 00:00:00 UTC", "4119292800")}},
        {"invisible title",
         with(feed(""), "\"t\"", "\"\\u200b\\u0301\""),
         {{W,
           2,
           39,
           "title состоит только из невидимых символов (id \"a\")",
           {"в title только U+200B, U+0301: приложение покажет пустое место"}}}},
        {"invisible body",
         with(feed(""), "\"b\"", "\" \\u00ad\\u00a0\""),
         {{W,
           2,
           52,
           "body состоит только из невидимых символов (id \"a\")",
           {"в body только U+0020, U+00AD, U+00A0: приложение покажет пустое место"}}}},
        {"visible text", with(feed(""), "\"t\"", "\"a\\u200b\""), {}},
        {"ended window",
         with(feed(""), "1769904000", "1768000000"),
         {{W,
           2,
           91,
           "окно показа уже закончилось, если считать end_at секундами Unix (id \"a\")",
           {"end_at 1768000000 — это 2026-01-09 23:06:40 UTC, а сейчас 2026-01-09 23:06:40 UTC (1768000000)"}}}},
        {"window still open", with(feed(""), "1769904000", "1768000001"), {}},
    };
    for (const Row& row : rows) {
        std::vector<Expected> got;
        for (const Problem& p : find_problems(row.document, OPTIONS))
            got.push_back({p.severity, p.at.line, p.at.column, p.text, p.notes});
        EXPECT_EQ(got, row.expected) << row.name;
    }
}

// The reader's position stays the byte offset; only the place shown moves.
TEST(LintNotes, LineEndKeepsTheReadersOffset) {
    const std::string document = "{\"schema\": 1,\r\n";
    const Location at = find_problems(document).at(0).at;
    EXPECT_EQ(at.offset, document.size());
    EXPECT_EQ(at.shown_offset(), document.size() - 2);
}

TEST(LintNotes, Oversize) {
    const std::string head(65537, ' ');
    const std::vector<std::pair<std::uint64_t, std::string>> rows = {
        {77399, "в файле 77399 байт, допустимо не больше 65536: сократите его на 11863 байта"},
        {65547, "в файле 65547 байт, допустимо не больше 65536: сократите его на 11 байт"},
        {65647, "в файле 65647 байт, допустимо не больше 65536: сократите его на 111 байт"},
        {65557, "в файле 65557 байт, допустимо не больше 65536: сократите его на 21 байт"},
        {65537, "в файле не меньше 65537 байт, допустимо не больше 65536: сократите его хотя бы на 1 байт"},
    };
    for (const auto& [length, note] : rows)
        EXPECT_EQ(oversize_problem(head, length, "f.json").notes, std::vector{note}) << length;
}

}  // namespace
}  // namespace mt::lint
