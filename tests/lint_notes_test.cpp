// The lint core over one table of drafts and their mistakes: every problem's severity, line,
// column, text and notes, what the first problem marks, and what fixing makes of the draft (safe
// fixes, then the suggestions too), each kind of mistake shown by a row; then the size problem
// and the lines and characters of byte offsets.
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

#include "lint/code_pages.h"
#include "lint/diagnosis.h"
#include "lint/fix_document.h"
#include "lint/line_index.h"
#include "lint/problems.h"

namespace mt::lint {
namespace {

// Inside every row's window: the default message runs from 2026-01-01 to 2026-02-01.
constexpr CheckOptions OPTIONS = {.now = 1'768'000'000, .warnings = true, .zone = {}};

const std::string OPEN = "{\"schema\": 1, \"revision\": 1, \"messages\": [";
const std::string HEAD = OPEN + "\n";
// A message in one line, written round what a row puts in.
const std::string OPEN_MESSAGE = R"({"schema": 1, "revision": 1, "messages": [{"id": "a", "priority": 1, )";
const std::string CLOSE_MESSAGE = R"("title": "t", "body": "b", "start_at": 1, "end_at": 2}]})";

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

std::string repeat(std::string_view unit, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += unit;
    return out;
}

std::string reading(std::string_view text) { return "messages: JSON ленты не разбирается: " + std::string(text); }

// How a problem is shown: an error or a warning, found before the first error or after it.
enum class Shown { error, warning, later_error, later_warning };

struct Expected {
    Shown severity;
    std::size_t line, column;
    std::string text;
    std::vector<std::string> notes;
    friend bool operator==(const Expected&, const Expected&) = default;
};

void PrintTo(const Expected& e, std::ostream* os) {
    constexpr const char* NAMES[] = {"error ", "warning ", "later error ", "later warning "};
    *os << NAMES[static_cast<int>(e.severity)] << e.line << ":" << e.column << " " << e.text;
    for (const auto& note : e.notes) *os << "\n  = " << note;
}

// A replacement in a draft: its first `from` becomes `to`.
struct Replacement {
    std::string from, to;
};

// A draft, every problem found in it, what its first problem marks, and what fixing makes of it.
struct Row {
    const char* name;
    std::string document;
    std::vector<Expected> expected;
    std::string marks;                   // the bytes of the first problem's span
    std::vector<Replacement> fixed;      // what --fix makes of the draft; none: it stays as written
    std::vector<Replacement> suggested;  // what --unsafe-fixes makes of that besides
};

// `text` with each replacement made in turn.
std::string replaced(std::string text, const std::vector<Replacement>& replacements) {
    for (const Replacement& r : replacements) {
        const std::size_t at = text.find(r.from);
        if (at == std::string::npos) {
            ADD_FAILURE() << "no " << r.from << " to replace";
            continue;
        }
        text.replace(at, r.from.size(), r.to);
    }
    return text;
}

// The row that shows each kind of mistake: a kind without one does not compile (-Wswitch), and
// the row's draft must be read with that mistake.
constexpr std::string_view row_showing(Mistake kind) {
    switch (kind) {
        case Mistake::byte_order_mark:
            return "byte-order mark";
        case Mistake::not_utf8:
            return "UTF-16";
        case Mistake::comment:
            return "a comment of YAML";
        case Mistake::unclosed_comment:
            return "a comment that never ends";
        case Mistake::typographic_quote:
            return "typographic quotes";
        case Mistake::single_quote:
            return "single quotes";
        case Mistake::trailing_comma:
            return "trailing comma in an object";
        case Mistake::extra_comma:
            return "two commas";
        case Mistake::missing_comma:
            return "missing comma between members";
        case Mistake::missing_colon:
            return "missing colon is no missing comma";
        case Mistake::unclosed_record:
            return "a record's closing brace missing";
        case Mistake::members_in_array:
            return "members between square brackets";
        case Mistake::foreign_space:
            return "no-break space";
        case Mistake::invisible_character:
            return "a zero width joiner between tokens";
        case Mistake::line_break_in_string:
            return "line break in a string";
        case Mistake::tab_in_string:
            return "tab in a string";
        case Mistake::control_in_string:
            return "control in a string";
        case Mistake::invalid_escape:
            return "an escape JSON does not have, and a mistake after it";
        case Mistake::quote_in_text:
            return "straight quotation marks inside a text";
        case Mistake::dash_for_minus:
            return "en dash for a minus";
        case Mistake::space_in_number:
            return "spaces in a number";
        case Mistake::malformed_number:
            return "leading zero is no space";
        case Mistake::unquoted_date:
            return "a date without quotation marks";
        case Mistake::misspelt_literal:
            return "line end LF";
        case Mistake::bare_key:
            return "key without quotes";
        case Mistake::bare_value:
            return "text without quotes";
        case Mistake::open_at_end:
            return "missing brackets at the end";
        case Mistake::unexpected:
            return "end of input after CRLF";
        case Mistake::unclosed_string:
            return "a string the file ends in";
    }
    return "";
}

constexpr Shown E = Shown::error, W = Shown::warning, LE = Shown::later_error, LW = Shown::later_warning;

// The editors' steps name TextEdit first: most authors write on a Mac.
const std::string SAVE_1251 =
    "); откройте его в этой кодировке и сохраните в UTF-8 (TextEdit: Файл → Открыть, в «Параметрах» кодировка "
    "«Кириллица (Windows)», затем Файл → Сохранить, кодировка «Юникод (UTF-8)»; VS Code: кодировка в строке "
    "состояния → «Reopen with Encoding» → «Cyrillic (Windows 1251)», затем «Save with Encoding» → «UTF-8»; "
    "Блокнот: «Сохранить как», кодировка «UTF-8»)";
// The note on a byte that begins no UTF-8 character and reads as no Russian text.
std::string not_utf8(std::string_view byte) {
    return "файл не в UTF-8: байт " + std::string(byte) +
           " не начинает символ UTF-8; сохраните файл в кодировке UTF-8 (TextEdit: Формат → Сделать простым "
           "текстом, затем Файл → Сохранить, кодировка «Юникод (UTF-8)»; VS Code: кодировка в строке состояния → "
           "«Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», кодировка «UTF-8»)";
}

std::string in_1251(std::string_view text) {
    return "файл не в UTF-8: похоже, он сохранён в кодировке Windows-1251 (в ней эти байты читаются как «" +
           std::string(text) + "»" + SAVE_1251;
}

const std::string FIRST_COMMA = "лишняя запятая: перед первым элементом запятая не ставится; удалите её";
const std::string WINDOW_WOULD_CLOSE =
    "но тогда окно показа закончится не позже, чем начнётся: проверьте и start_at, и end_at";

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
const std::string AUTOCORRECT =
    "; такие кавычки ставит автозамена: в TextEdit — Формат → Сделать простым текстом и Правка → Замены → снимите "
    "«Смарт-кавычки»; VS Code и Блокнот кавычек не заменяют, но такие кавычки приходят с текстом, вставленным из "
    "Pages, Word или письма";
const std::string LINE_BREAK =
    "строка не закрыта до конца строки: перевод строки внутри строки пишется `\\n`; если строка здесь кончается, "
    "поставьте закрывающую кавычку `\"`";
const std::string JSON_SPACES =
    ": JSON между ключами, значениями и скобками допускает только обычный пробел, табуляцию и перевод строки; "
    "замените этот символ обычным пробелом или удалите его";
const std::string TIME = "start_at — время в секундах Unix, целое число без кавычек: ";
const std::string THREE_NUMBERS = "minVersion — это три числа через точку (major.minor.patch)";
const std::string CODE_POINTS =
    "символы считаются кодовыми точками Unicode, а не видимыми знаками: эмодзи семьи — это несколько точек (люди и "
    "невидимые соединители U+200D между ними), флаг — две, буква с ударением — две; здесь ";
const std::string MAY_MEAN = "возможно, имелось в виду ";
const std::string MESSAGE_KEYS =
    "expected one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, `cta`, `minVersion`, `maxVersion`";

TEST(LintMistakes, EachDraftItsProblemsMarkAndFix) {
    const std::vector<Row> rows = {
        // A reading error just after a line feed stands at the end of the line before.
        {"line end LF",
         feed(",\n  \"cta\": nul\n"),
         {{E, 3, 13, reading("expected ident at line 4 column 0"), {}}},
         "",
         {},
         {}},
        {"line end CRLF",
         feed(",\r\n  \"cta\": nul\r\n", "\r\n"),
         {{E, 3, 13, reading("expected ident at line 3 column 13"), {}}},
         "\r",
         {},
         {}},
        {"end of input after CRLF",
         "{\"schema\": 1,\r\n",
         {{E, 1, 14, reading("EOF while parsing a value at line 2 column 0"), {}}},
         "",
         {},
         {}},
        // Strings: a raw line break, tab or control where an escape belongs.
        {"line break in a string",
         HEAD + "  {\"id\": \"a\n\"}]}",
         {{E,
           2,
           12,
           reading("control character (\\u0000-\\u001F) found while parsing a string at line 3 column 0"),
           {LINE_BREAK}}},
         "\n",
         {{"a\n", "a\\n"}},
         {}},
        {"CR LF in a string",
         HEAD + "  {\"id\": \"a\r\n\"}]}",
         {{E,
           2,
           12,
           reading("control character (\\u0000-\\u001F) found while parsing a string at line 2 column 12"),
           {LINE_BREAK}}},
         "\r\n",
         {{"\r\n", "\\n"}},
         {}},
        {"tab in a string",
         HEAD + "  {\"id\": \"a\tb\"}]}",
         {{E,
           2,
           12,
           reading("control character (\\u0000-\\u001F) found while parsing a string at line 2 column 12"),
           {"табуляция внутри строки: в JSON она пишется `\\t`, но в title и body управляющих символов быть не "
            "должно, поставьте вместо неё пробел"}}},
         "\t",
         {},
         {{"\t", " "}}},
        {"control in a string",
         HEAD + "  {\"id\": \"a\x01\"}]}",
         {{E,
           2,
           12,
           reading("control character (\\u0000-\\u001F) found while parsing a string at line 2 column 12"),
           {"управляющий символ U+0001 внутри строки пишется `\\u0001`"}}},
         "\x01",
         {},
         {}},
        // White space JSON does not know: named, and pointed at.
        {"no-break space",
         "{\"schema\": 1,\u00a0\"revision\": 1}",
         {{E,
           1,
           14,
           reading("key must be a string at line 1 column 14"),
           {"здесь неразрывный пробел U+00A0 (на Mac его ставит ⌥Пробел)" + JSON_SPACES}}},
         "\u00a0",
         {{"\u00a0", " "}},
         {}},
        {"no-break space in a number",
         "{\"schema\": 1, \"revision\": 1\u00a0000}",
         {{E,
           1,
           28,
           reading("expected `,` or `}` at line 1 column 28"),
           {"здесь неразрывный пробел U+00A0 (на Mac его ставит ⌥Пробел)" + JSON_SPACES +
            "; внутри числа пробелов не бывает: `1000`"}}},
         "\u00a0",
         {{"\u00a0", ""}},
         {}},
        {"narrow no-break space",
         "{\"schema\":\u202f1}",
         {{E,
           1,
           11,
           reading("expected value at line 1 column 11"),
           {"здесь узкий неразрывный пробел U+202F" + JSON_SPACES}}},
         "\u202f",
         {{"\u202f", " "}},
         {}},
        {"ideographic space",
         "{\"schema\":\u30001}",
         {{E,
           1,
           11,
           reading("expected value at line 1 column 11"),
           {"здесь идеографический пробел U+3000" + JSON_SPACES}}},
         "\u3000",
         {{"\u3000", " "}},
         {}},
        {"figure space",
         "{\"schema\":\u20071}",
         {{E, 1, 11, reading("expected value at line 1 column 11"), {"здесь цифровой пробел U+2007" + JSON_SPACES}}},
         "\u2007",
         {{"\u2007", " "}},
         {}},
        {"zero-width space",
         "{\"schema\": 1,\u200b \"revision\": 1}",
         {{E,
           1,
           14,
           reading("key must be a string at line 1 column 14"),
           {"здесь невидимый пробел нулевой ширины U+200B" + JSON_SPACES}}},
         "\u200b",
         {{"\u200b", " "}},
         {}},
        {"byte-order mark inside the file",
         "{\"schema\": 1,\n\ufeff\"revision\": 1}",
         {{E,
           2,
           1,
           reading("key must be a string at line 2 column 1"),
           {"здесь невидимая метка порядка байтов U+FEFF (она попадает внутрь файла при склейке или вставке текста)" +
            JSON_SPACES}}},
         "\ufeff",
         {{"\ufeff", " "}},
         {}},
        {"another invisible character",
         "{\"schema\": 1,\u2028\"revision\": 1}",
         {{E,
           1,
           14,
           reading("key must be a string at line 1 column 14"),
           {"здесь невидимый символ U+2028" + JSON_SPACES}}},
         "\u2028",
         {{"\u2028", " "}},
         {}},
        // Commas: the mark on the comma too many, or where the missing one goes.
        {"trailing comma in an object",
         "{\"schema\": 1, \"revision\": 1,\n}",
         {{E,
           1,
           28,
           reading("trailing comma at line 2 column 1"),
           {"лишняя запятая: после последней пары «ключ: значение» объекта запятая не ставится; удалите её"}}},
         ",",
         {{"n\": 1,", "n\": 1"}},
         {}},
        {"trailing comma in an array",
         HEAD + message() + ",\n]}",
         {{E,
           2,
           102,
           reading("trailing comma at line 3 column 1"),
           {"лишняя запятая: после последнего элемента массива запятая не ставится; удалите её"}}},
         ",",
         {{"},", "}"}},
         {}},
        {"missing comma between members",
         "{\"schema\": 1\n \"revision\": 1}",
         {{E,
           1,
           13,
           reading("expected `,` or `}` at line 2 column 2"),
           {"не хватает запятой: пары «ключ: значение» объекта разделяются запятыми; поставьте `,` здесь, после "
            "предыдущего значения"}}},
         "\n ",
         {{"1", "1,"}},
         {}},
        {"missing comma between elements",
         HEAD + message() + "\n" + message() + "\n]}",
         {{E,
           2,
           102,
           reading("expected `,` or `]` at line 3 column 3"),
           {"не хватает запятой: элементы массива разделяются запятыми; поставьте `,` здесь, после предыдущего "
            "значения"}},
          {LE, 3, 10, "messages: дубликат id \"a\"", {"этот id уже есть у сообщения на строке 2"}}},
         "\n  ",
         {{"}", "},"}},
         {}},
        {"missing colon is no missing comma",
         "{\"schema\" 1}",
         {{E,
           1,
           10,
           reading("expected `:` at line 1 column 11"),
           {"после ключа \"schema\" нет двоеточия: ключ и значение разделяются `:`, пишите `\"schema\": …`"}}},
         " ",
         {{"a\"", "a\":"}},
         {}},
        // Escapes: one JSON does not have is stepped over, a surrogate pair is one escape, and a
        // control byte right after an escape is where the reader stops.
        {"an escape JSON does not have, and a mistake after it",
         HEAD + with(message(), "\"a\"", "\"a\\q\"") + ",\n" + with(message(","), "\"a\"", "\"b\"") + "\n]}",
         {{E, 2, 13, reading("invalid escape at line 2 column 13"), {}},
          {LE,
           3,
           101,
           "JSON: лишняя запятая перед закрывающей скобкой",
           {"лишняя запятая: после последней пары «ключ: значение» объекта запятая не ставится; удалите её"}}},
         "q",
         {{"000,", "000"}},
         {}},
        {"a surrogate pair past the first error is no mistake",
         HEAD + message(",") + ",\n" + with(with(message(), "\"a\"", "\"b\""), "\"t\"", "\"\\uD83D\\uDE00\"") + "\n]}",
         {{E,
           2,
           101,
           reading("trailing comma at line 2 column 102"),
           {"лишняя запятая: после последней пары «ключ: значение» объекта запятая не ставится; удалите её"}}},
         ",",
         {{"000,", "000"}},
         {}},
        {"a control byte right after an escape",
         HEAD +
             with(message(), "\"t\"",
                  "\"a\\n\x01"
                  "b\"") +
             "\n]}",
         {{E,
           2,
           43,
           reading("control character (\\u0000-\\u001F) found while parsing a string at line 2 column 43"),
           {"управляющий символ U+0001 внутри строки пишется `\\u0001`"}}},
         "\x01",
         {},
         {}},
        {"a key and no value after it",
         "{\"schema\" }",
         {{E, 1, 11, reading("expected `:` at line 1 column 11"), {}}},
         "}",
         {},
         {}},
        {"two commas",
         "{\"schema\": 1,, \"revision\": 1}",
         {{E,
           1,
           14,
           reading("key must be a string at line 1 column 14"),
           {"две запятые подряд: между элементами ставится одна; удалите лишнюю"}}},
         ",",
         {{",,", ","}},
         {}},
        {"a comma before the first element",
         HEAD + ", " + message() + "\n]}",
         {{E, 2, 1, reading("expected value at line 2 column 1"), {FIRST_COMMA}}},
         ",",
         {{"\n,", "\n"}},
         {}},
        {"a comma before the first member",
         "{, \"schema\": 1}",
         {{E, 1, 2, reading("key must be a string at line 1 column 2"), {FIRST_COMMA}}},
         ",",
         {{",", ""}},
         {}},
        {"a record's closing brace missing",
         HEAD + with(message(), "}", "") + ",\n" + message() + "\n]}",
         {{E,
           3,
           3,
           reading("key must be a string at line 3 column 3"),
           {"здесь начинается новая запись, а предыдущая не закрыта: похоже, перед запятой пропущена закрывающая "
            "скобка `}`"}}},
         "{",
         {},
         {{"000", "000}"}}},
        {"members between square brackets",
         HEAD + "  [\"id\": \"a\", \"priority\": 1]\n]}",
         {{E,
           2,
           3,
           reading("expected `,` or `]` at line 2 column 8"),
           {"пары «ключ: значение» пишутся в фигурных скобках `{ … }`, а здесь они в квадратных `[ … ]`"}}},
         "[",
         {},
         {{"[\"id\": \"a\", \"priority\": 1]", "{\"id\": \"a\", \"priority\": 1}"}}},
        {"straight quotation marks inside a text",
         with(feed(""), "\"t\"", "\"Тариф \"Плюс\"\""),
         {{E,
           2,
           46,
           reading("expected `,` or `}` at line 2 column 52"),
           {"прямая кавычка `\"` внутри текста закрывает строку раньше времени: внутри строки пишите её как `\\\"` "
            "или возьмите «ёлочки»"}}},
         "\"",
         {},
         {{"\"Плюс", "\\\"Плюс\\"}}},
        {"a comment of YAML",
         "# лента\n{\"schema\": 1}",
         {{E,
           1,
           1,
           reading("expected value at line 1 column 1"),
           {"здесь комментарий `#`: в JSON комментариев нет, удалите его"}}},
         "#",
         {{"# лента\n", ""}},
         {}},
        // Words without quotation marks.
        {"key without quotes",
         "{schema: 1}",
         {{E,
           1,
           2,
           reading("key must be a string at line 1 column 2"),
           {"ключ `schema` без кавычек: в JSON ключ пишется в прямых двойных кавычках: `\"schema\"`"}}},
         "schema",
         {{"schema", "\"schema\""}},
         {}},
        {"text without quotes",
         HEAD + "  {\"id\": promo}]}",
         {{E,
           2,
           10,
           reading("expected value at line 2 column 10"),
           {"значение `promo` без кавычек: строка пишется в прямых двойных кавычках: `\"promo\"`"}}},
         "promo",
         {},
         {{"promo", "\"promo\""}}},
        // Numbers as typesetting writes them.
        {"en dash for a minus",
         "{\"schema\": 1, \"revision\": –1}",
         {{E,
           1,
           27,
           reading("expected value at line 1 column 27"),
           {"здесь `–` (короткое тире U+2013), а не минус ASCII `-`: отрицательное число пишется с дефисом-минусом с "
            "клавиатуры: `-1`"}}},
         "–",
         {{"–", "-"}},
         {}},
        {"minus sign",
         "{\"schema\": 1, \"revision\": \u221212}",
         {{E,
           1,
           27,
           reading("expected value at line 1 column 27"),
           {"здесь `−` (знак минуса U+2212), а не минус ASCII `-`: отрицательное число пишется с дефисом-минусом с "
            "клавиатуры: `-12`"}}},
         "−",
         {{"−", "-"}},
         {}},
        {"spaces in a number",
         "{\"schema\": 1, \"revision\": 1 000}",
         {{E,
           1,
           28,
           reading("expected `,` or `}` at line 1 column 29"),
           {"пробел внутри числа: в JSON число пишется слитно, без пробелов между разрядами: `1000`"}}},
         " ",
         {},
         {{"1 ", "1"}}},
        {"leading zero is no space",
         "{\"schema\": 01}",
         {{E, 1, 13, reading("invalid number at line 1 column 13"), {}}},
         "1",
         {},
         {}},
        {"Cyrillic text without quotes",
         HEAD + "  {\"id\": Привет}]}",
         {{E,
           2,
           10,
           reading("expected value at line 2 column 10"),
           {"значение `Привет` без кавычек: строка пишется в прямых двойных кавычках: `\"Привет\"`"}}},
         "Привет",
         {},
         {{"Привет", "\"Привет\""}}},
        // A date without quotation marks is no number followed by a missing comma.
        {"a date without quotation marks",
         with(feed(""), "1767225600", "2027-01-01"),
         {{E,
           2,
           69,
           reading("expected `,` or `}` at line 2 column 73"),
           {"дата `2027-01-01` без кавычек, как число: время в ленте — целое число секунд Unix; эта дата по UTC — "
            "1798761600"}}},
         "2027-01-01",
         {},
         {{"2027-01-01", "1798761600"}}},
        // Other languages' words for JSON's literals: not strings to quote.
        {"None for null",
         feed(", \"cta\": None"),
         {{E,
           2,
           110,
           reading("expected value at line 2 column 110"),
           {"`None` — так «нет значения» пишут в Python; в JSON это `null`"}}},
         "None",
         {},
         {{"None", "null"}}},
        {"undefined for null",
         feed(", \"cta\": undefined"),
         {{E,
           2,
           110,
           reading("expected value at line 2 column 110"),
           {"`undefined` — так «нет значения» пишут в JavaScript; в JSON это `null`"}}},
         "undefined",
         {},
         {{"undefined", "null"}}},
        {"NULL for null",
         feed(", \"cta\": NULL"),
         {{E,
           2,
           110,
           reading("expected value at line 2 column 110"),
           {"`NULL`: в JSON это пишется маленькими буквами, `null`"}}},
         "NULL",
         {{"NULL", "null"}},
         {}},
        // The end of the file before the brackets are closed.
        {"missing brackets at the end",
         HEAD + message() + "\n",
         {{E,
           2,
           102,
           reading("EOF while parsing a list at line 3 column 0"),
           {"файл кончился, а скобки не закрыты: в конце не хватает `]}`"}}},
         "",
         {},
         {{"}", "}]}"}}},
        {"missing brace of a message",
         HEAD + "  {\"id\": \"a\"",
         {{E,
           2,
           13,
           reading("EOF while parsing an object at line 2 column 12"),
           {"файл кончился, а скобки не закрыты: в конце не хватает `}]}`"}}},
         "",
         {},
         {{"\"a\"", "\"a\"}]}"}}},
        // What authors bring from other writing.
        {"typographic quotes",
         HEAD + "  {\"id\": “a”}]}",
         {{E,
           2,
           10,
           reading("expected value at line 2 column 10"),
           {"здесь типографская кавычка `“` (U+201C): " + ASCII_QUOTES + AUTOCORRECT}}},
         "“",
         {{"“a”", "\"a\""}},
         {}},
        // The note and the fix of a string closed by a typographic mark are of that mark, also
        // where the reader reads on to a line break (it used to be told to escape the break).
        {"typographic mark closing a string before a line end",
         HEAD + "  {\"id\": \"a”\n}]}",
         {{E,
           2,
           12,
           reading("control character (\\u0000-\\u001F) found while parsing a string at line 3 column 0"),
           {"здесь типографская кавычка `”` (U+201D): " + ASCII_QUOTES + AUTOCORRECT}}},
         "”",
         {{"”", "\""}},
         {}},
        {"guillemets",
         "{«schema»: 1}",
         {{E,
           1,
           2,
           reading("key must be a string at line 1 column 2"),
           {"здесь типографская кавычка `«` (U+00AB): " + ASCII_QUOTES + AUTOCORRECT}}},
         "«",
         {{"«schema»", "\"schema\""}},
         {}},
        {"single quotes",
         "{'schema': 1}",
         {{E,
           1,
           2,
           reading("key must be a string at line 1 column 2"),
           {"здесь одинарная кавычка `'`: " + ASCII_QUOTES}}},
         "'",
         {{"'schema'", "\"schema\""}},
         {}},
        {"line comment",
         "{\"schema\": 1, // the format\n\"revision\": 1}",
         {{E,
           1,
           15,
           reading("key must be a string at line 1 column 15"),
           {"здесь комментарий `//`: в JSON комментариев нет, удалите его"}}},
         "/",
         {{" // the format", ""}},
         {}},
        {"block comment",
         "{\"schema\": 1 /* the format */}",
         {{E,
           1,
           14,
           reading("expected `,` or `}` at line 1 column 14"),
           {"здесь комментарий `/*`: в JSON комментариев нет, удалите его"}}},
         "/",
         {{"/* the format */", ""}},
         {}},
        // Bytes that are not UTF-8: the caret on the first of them.
        {"Windows-1251",
         HEAD + "  {\"id\": \"\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0 \xAB\xEE\xEA\xBB\"}]}",
         {{E,
           2,
           11,
           reading("invalid unicode code point at line 2 column 27"),
           {"файл не в UTF-8: похоже, он сохранён в кодировке Windows-1251 (в ней эти байты читаются как «Привет, "
            "мир «ок»»" +
            SAVE_1251}}},
         "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0 \xAB\xEE\xEA\xBB",
         {{"\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0 \xAB\xEE\xEA\xBB", "Привет, мир «ок»"}},
         {}},
        // Every typographic sign the code page has, and 0x7F (the last ASCII).
        {"Windows-1251 typography",
         HEAD + "  {\"id\": \"\xAB\xCF\xF0\xE8\xE2\xE5\xF2\xBB \x96 \x97 \x91\x92 \x93\x94 \x84 \x85 "
                "\xB9\xA0\x7F\"}]}",
         {{E,
           2,
           11,
           reading("invalid unicode code point at line 2 column 37"),
           {in_1251("«Привет» – — ‘’ “” „ … №\\u{a0}\\u{7f}")}}},
         "\xAB\xCF\xF0\xE8\xE2\xE5\xF2\xBB \x96 \x97 \x91\x92 \x93\x94 \x84 \x85 \xB9\xA0\x7F",
         {{"\"\xAB\xCF\xF0\xE8\xE2\xE5\xF2\xBB \x96 \x97 \x91\x92 \x93\x94 \x84 \x85 \xB9\xA0",
           "\"«Привет» – — ‘’ “” „ … №\u00a0"}},
         {}},
        {"UTF-16",
         std::string("\xFF\xFE{\0}\0", 6),
         {{E,
           1,
           1,
           reading("expected value at line 1 column 1"),
           {"файл в кодировке UTF-16 (он начинается с её метки порядка байтов, FF FE), а лента читается только в "
            "UTF-8: сохраните его в UTF-8 (TextEdit: Файл → Сохранить, кодировка «Юникод (UTF-8)»; VS Code: кодировка "
            "в строке состояния → «Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», кодировка «UTF-8»)"}}},
         "\xFF\xFE",
         {{std::string("\xFF\xFE{\0}\0", 6), "{}"}},
         {}},
        // A letter of no Russian, Ukrainian or Belarusian word (0x80, Ђ, as Mac Cyrillic's А reads
        // in Windows-1251) is no sign of Windows-1251.
        {"Windows-1251's Serbian letter",
         HEAD + "  {\"id\": \"\x80\xCF\xF0\xE8\xE2\xE5\xF2\"}]}",
         {{E, 2, 11, reading("invalid unicode code point at line 2 column 18"), {not_utf8("0x80")}}},
         "\x80\xCF\xF0\xE8\xE2\xE5\xF2",
         {},
         {}},
        // KOI8-R: in Windows-1251 its letters would read with their cases crossed.
        {"KOI8-R",
         HEAD + "  {\"id\": \"\xF0\xD2\xCF\xC4\xCC\xC9\xD4\xC5\"}]}",
         {{E,
           2,
           11,
           reading("invalid unicode code point at line 2 column 19"),
           {"файл не в UTF-8: похоже, он сохранён в кодировке KOI8-R (в ней эти байты читаются как «Продлите»); "
            "откройте его в этой кодировке и сохраните в UTF-8 (TextEdit: Файл → Открыть, в «Параметрах» кодировка "
            "«Кириллица (KOI8-R)», затем Файл → Сохранить, кодировка «Юникод (UTF-8)»; VS Code: кодировка в строке "
            "состояния → «Reopen with Encoding» → «Cyrillic (KOI8-R)», затем «Save with Encoding» → «UTF-8»)"}}},
         "\xF0\xD2\xCF\xC4\xCC\xC9\xD4\xC5",
         {{"\xF0\xD2\xCF\xC4\xCC\xC9\xD4\xC5", "Продлите"}},
         {}},
        // Small letters alone read the same in two code pages, and as capitals in a third: all are
        // named, none is taken.
        {"Windows-1251 or Mac Cyrillic",
         HEAD + "  {\"id\": \"\xEC\xE8\xF0\"}]}",
         {{E,
           2,
           11,
           reading("invalid unicode code point at line 2 column 14"),
           {"файл не в UTF-8: похоже, он сохранён в одной из кириллических кодировок, и по тексту не понять, в "
            "какой: в Windows-1251 эти байты читаются как «мир», в KOI8-R эти байты читаются как «ЛХП», в Mac "
            "Cyrillic эти байты читаются как «мир»; "
            "откройте файл в той, в которой текст верен, и сохраните в UTF-8"}}},
         "\xEC\xE8\xF0",
         {},
         {}},
        {"Windows-1251 signs without a letter",
         HEAD + "  {\"id\": \"\xAB\xBB\"}]}",
         {{E, 2, 11, reading("invalid unicode code point at line 2 column 13"), {not_utf8("0xAB")}}},
         "\xAB\xBB",
         {},
         {}},
        {"Latin-1",
         HEAD + "  {\"id\": \"caf\xE9\"}]}",
         {{E, 2, 14, reading("invalid unicode code point at line 2 column 15"), {not_utf8("0xE9")}}},
         "\xE9",
         {},
         {}},
        // A letter next to a Latin letter, before or after it, at each end of the Latin alphabets.
        {"Latin-1 after A",
         HEAD + "  {\"id\": \"A\xE9\"}]}",
         {{E, 2, 12, reading("invalid unicode code point at line 2 column 13"), {not_utf8("0xE9")}}},
         "\xE9",
         {},
         {}},
        {"Latin-1 after Z",
         HEAD + "  {\"id\": \"Z\xE9\"}]}",
         {{E, 2, 12, reading("invalid unicode code point at line 2 column 13"), {not_utf8("0xE9")}}},
         "\xE9",
         {},
         {}},
        {"Latin-1 after a",
         HEAD + "  {\"id\": \"a\xE9\"}]}",
         {{E, 2, 12, reading("invalid unicode code point at line 2 column 13"), {not_utf8("0xE9")}}},
         "\xE9",
         {},
         {}},
        {"Latin-1 before z",
         HEAD + "  {\"id\": \"\xE9z\"}]}",
         {{E, 2, 11, reading("invalid unicode code point at line 2 column 13"), {not_utf8("0xE9")}}},
         "\xE9z",
         {},
         {}},
        {"empty",
         "",
         {{E,
           1,
           1,
           reading("EOF while parsing a value at line 1 column 0"),
           {"файл пуст: лента — это объект {\"schema\": 1, \"revision\": …, \"messages\": […]}"}}},
         "",
         {},
         {}},
        {"only a line feed",
         "\n",
         {{E,
           1,
           1,
           reading("EOF while parsing a value at line 2 column 0"),
           {"в файле только пробелы и переводы строк: лента — это объект {\"schema\": 1, \"revision\": …, "
            "\"messages\": […]}"}}},
         "",
         {},
         {}},
        {"only CR LF",
         "\r\n",
         {{E,
           1,
           1,
           reading("EOF while parsing a value at line 2 column 0"),
           {"в файле только пробелы и переводы строк: лента — это объект {\"schema\": 1, \"revision\": …, "
            "\"messages\": […]}"}}},
         "",
         {},
         {}},
        {"blank",
         " \r\n\n",
         {{E,
           2,
           1,
           reading("EOF while parsing a value at line 3 column 0"),
           {"в файле только пробелы и переводы строк: лента — это объект {\"schema\": 1, \"revision\": …, "
            "\"messages\": […]}"}}},
         "",
         {},
         {}},
        // Records: which message, where it starts, where a key was first given.
        {"missing field",
         HEAD + message() + ",\n  {\"id\": \"promo\", \"priority\": 1}\n]}",
         {{E,
           3,
           3,
           reading("missing field `title` at line 3 column 32"),
           {"в сообщении messages[1] (id \"promo\") нет обязательного поля `title`; сообщение начинается здесь"}}},
         "{\"id\": \"promo\", \"priority\": 1}",
         {},
         {}},
        {"missing id",
         HEAD + "  {\"priority\": 1}]}",
         {{E,
           2,
           3,
           reading("missing field `id` at line 2 column 17"),
           {"в сообщении messages[0] нет обязательного поля `id`; сообщение начинается здесь"}}},
         "{\"priority\": 1}",
         {},
         {}},
        {"missing kind",
         feed(", \"cta\": {}"),
         {{E,
           2,
           110,
           reading("missing field `kind` at line 2 column 111"),
           {"в cta сообщения messages[0] (id \"a\") нет обязательного поля `kind`; cta начинается здесь"}}},
         "{}",
         {},
         {}},
        {"missing schema",
         "{\"revision\": 1}",
         {{E,
           1,
           1,
           reading("missing field `schema` at line 1 column 15"),
           {"в объекте ленты нет обязательного поля `schema`"}}},
         "{\"revision\": 1}",
         {},
         {}},
        {"duplicate key",
         "{\"schema\": 1,\n \"revision\": 1, \"schema\": 1}",
         {{E,
           2,
           17,
           reading("duplicate field `schema` at line 2 column 24"),
           {"ключ `schema` уже есть в этом объекте: строка 1, столбец 2"}}},
         "\"schema\"",
         {},
         {}},
        // Suggestions: case only, up to two edits for long keys, one for short ones, never three.
        // `null` is JSON the reading takes; only the record refuses it, and `"null"` is no kind either.
        {"null for a kind",
         feed(", \"cta\": {\"kind\": null}"),
         {{E, 2, 119, reading("expected value at line 2 column 119"), {}}},
         "null",
         {},
         {}},
        {"kind one edit",
         feed(", \"cta\": {\"kind\": \"open_licence\"}"),
         {{E,
           2,
           119,
           reading("unknown variant `open_licence`, expected one of `open_updates`, `open_appearance`, "
                   "`open_license` at line 2 column 132"),
           {MAY_MEAN + "`open_license`"}}},
         "\"open_licence\"",
         {},
         {{"nc", "ns"}}},
        {"kind far off",
         feed(", \"cta\": {\"kind\": \"link\"}"),
         {{E,
           2,
           119,
           reading("unknown variant `link`, expected one of `open_updates`, `open_appearance`, `open_license` at "
                   "line 2 column 124"),
           {}}},
         "\"link\"",
         {},
         {}},
        {"key case only",
         HEAD + "  {\"ID\": 1}]}",
         {{E, 2, 4, reading("unknown field `ID`, " + MESSAGE_KEYS + " at line 2 column 7"), {MAY_MEAN + "`id`"}}},
         "\"ID\"",
         {},
         {{"ID", "id"}}},
        {"key two edits",
         HEAD + "  {\"prxxrity\": 1}]}",
         {{E,
           2,
           4,
           reading("unknown field `prxxrity`, " + MESSAGE_KEYS + " at line 2 column 13"),
           {MAY_MEAN + "`priority`"}}},
         "\"prxxrity\"",
         {},
         {{"xx", "io"}}},
        {"key three edits",
         HEAD + "  {\"pxxxrity\": 1}]}",
         {{E, 2, 4, reading("unknown field `pxxxrity`, " + MESSAGE_KEYS + " at line 2 column 13"), {}}},
         "\"pxxxrity\"",
         {},
         {}},
        {"short key two edits",
         HEAD + "  {\"tiel\": 1}]}",
         {{E, 2, 4, reading("unknown field `tiel`, " + MESSAGE_KEYS + " at line 2 column 9"), {}}},
         "\"tiel\"",
         {},
         {}},
        {"key one insertion",
         HEAD + "  {\"bdy\": 1}]}",
         {{E, 2, 4, reading("unknown field `bdy`, " + MESSAGE_KEYS + " at line 2 column 8"), {MAY_MEAN + "`body`"}}},
         "\"bdy\"",
         {},
         {{"b", "bo"}}},
        // A near key the record has already: no rename to offer.
        {"a near key that is there already",
         feed(", \"Priority\": 2"),
         {{E,
           2,
           103,
           reading("unknown field `Priority`, expected one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, "
                   "`cta`, `minVersion`, `maxVersion` at line 2 column 112"),
           {"похоже на `priority`, но `priority` в этом объекте уже есть: один из двух ключей лишний"}}},
         "\"Priority\"",
         {},
         {}},
        // Two neighbours swapped count one edit.
        {"key with two letters swapped",
         HEAD + "  {\"titel\": 1}]}",
         {{E,
           2,
           4,
           reading("unknown field `titel`, " + MESSAGE_KEYS + " at line 2 column 10"),
           {MAY_MEAN + "`title`"}}},
         "\"titel\"",
         {},
         {{"el", "le"}}},
        {"short key with two letters swapped",
         HEAD + "  {\"bdoy\": 1}]}",
         {{E, 2, 4, reading("unknown field `bdoy`, " + MESSAGE_KEYS + " at line 2 column 9"), {MAY_MEAN + "`body`"}}},
         "\"bdoy\"",
         {},
         {{"do", "od"}}},
        // What other formats call a call to action's kind.
        {"type for kind",
         feed(", \"cta\": {\"type\": \"open_updates\"}"),
         {{E, 2, 111, reading("unknown field `type`, expected `kind` at line 2 column 116"), {MAY_MEAN + "`kind`"}}},
         "\"type\"",
         {},
         {{"type", "kind"}}},
        {"key one substitution",
         HEAD + "  {\"bodi\": 1}]}",
         {{E, 2, 4, reading("unknown field `bodi`, " + MESSAGE_KEYS + " at line 2 column 9"), {MAY_MEAN + "`body`"}}},
         "\"bodi\"",
         {},
         {{"di", "dy"}}},
        {"two-letter key one edit",
         HEAD + "  {\"idd\": 1}]}",
         {{E, 2, 4, reading("unknown field `idd`, " + MESSAGE_KEYS + " at line 2 column 8"), {MAY_MEAN + "`id`"}}},
         "\"idd\"",
         {},
         {{"dd", "d"}}},
        {"six-letter key two edits",
         "{\"shcema\": 1}",
         {{E,
           1,
           2,
           reading("unknown field `shcema`, expected one of `schema`, `revision`, `messages` at line 1 column 9"),
           {MAY_MEAN + "`schema`"}}},
         "\"shcema\"",
         {},
         {{"hc", "ch"}}},
        {"key case and two edits",
         HEAD + "  {\"stArt_xx\": 1}]}",
         {{E,
           2,
           4,
           reading("unknown field `stArt_xx`, " + MESSAGE_KEYS + " at line 2 column 13"),
           {MAY_MEAN + "`start_at`"}}},
         "\"stArt_xx\"",
         {},
         {{"Art_xx", "art_at"}}},
        // Neither a key inside a longer word nor a longer key's tail is a near miss.
        {"key inside a word",
         HEAD + "  {\"message_id\": 1}]}",
         {{E, 2, 4, reading("unknown field `message_id`, " + MESSAGE_KEYS + " at line 2 column 15"), {}}},
         "\"message_id\"",
         {},
         {}},
        {"tail of a key",
         HEAD + "  {\"version\": 1}]}",
         {{E, 2, 4, reading("unknown field `version`, " + MESSAGE_KEYS + " at line 2 column 12"), {}}},
         "\"version\"",
         {},
         {}},
        // A Cyrillic а in a Latin key: two edits from minVersion, one from maxVersion.
        {"key nearer later",
         HEAD + "  {\"mаxVersion\": 1}]}",
         {{E,
           2,
           4,
           reading("unknown field `mаxVersion`, " + MESSAGE_KEYS + " at line 2 column 16"),
           {MAY_MEAN + "`maxVersion`"}}},
         "\"mаxVersion\"",
         {},
         {{"а", "a"}}},
        {"empty key",
         HEAD + "  {\"\": 1}]}",
         {{E, 2, 4, reading("unknown field ``, " + MESSAGE_KEYS + " at line 2 column 5"), {}}},
         "\"\"",
         {},
         {}},
        // As near to minVersion as to maxVersion: the first in the record wins.
        {"key equally near two",
         HEAD + "  {\"mVersion\": 1}]}",
         {{E,
           2,
           4,
           reading("unknown field `mVersion`, " + MESSAGE_KEYS + " at line 2 column 13"),
           {MAY_MEAN + "`minVersion`"}}},
         "\"mVersion\"",
         {},
         {{"{\"m", "{\"min"}}},
        {"$schema",
         "{\"$schema\": \"x\"}",
         {{E,
           1,
           2,
           reading("unknown field `$schema`, expected one of `schema`, `revision`, `messages` at line 1 column 10"),
           {"ключ `$schema` лента не допускает: удалите его и свяжите схему с файлом в настройках редактора (VS "
            "Code: json.schemas; JetBrains: JSON Schema Mappings; см. «Editor set-up» в doc/feed-format.md)"}}},
         "\"$schema\"",
         {{"\"$schema\": \"x\"", ""}},
         {}},
        // Where its member cannot be taken out whole, it stays.
        {"$schema without a colon stays",
         "{\"$schema\" 1}",
         {{E,
           1,
           2,
           reading("unknown field `$schema`, expected one of `schema`, `revision`, `messages` at line 1 column 11"),
           {"ключ `$schema` лента не допускает: удалите его и свяжите схему с файлом в настройках редактора (VS Code: "
            "json.schemas; JetBrains: JSON Schema Mappings; см. «Editor set-up» в doc/feed-format.md)"}},
          {LE,
           1,
           11,
           "JSON: пропущено двоеточие после ключа",
           {"после ключа \"$schema\" нет двоеточия: ключ и значение разделяются `:`, пишите `\"$schema\": …`"}}},
         "\"$schema\"",
         {},
         {}},
        {"$schema at the end of the file stays",
         "{\"$schema\"",
         {{E,
           1,
           2,
           reading("unknown field `$schema`, expected one of `schema`, `revision`, `messages` at line 1 column 10"),
           {"ключ `$schema` лента не допускает: удалите его и свяжите схему с файлом в настройках редактора (VS Code: "
            "json.schemas; JetBrains: JSON Schema Mappings; см. «Editor set-up» в doc/feed-format.md)"}}},
         "\"$schema\"",
         {},
         {{"a\"", "a\"}"}}},
        {"$schema without a value stays",
         "{\"$schema\": }",
         {{E,
           1,
           2,
           reading("unknown field `$schema`, expected one of `schema`, `revision`, `messages` at line 1 column 10"),
           {"ключ `$schema` лента не допускает: удалите его и свяжите схему с файлом в настройках редактора (VS Code: "
            "json.schemas; JetBrains: JSON Schema Mappings; см. «Editor set-up» в doc/feed-format.md)"}},
          {LE, 1, 13, "JSON: здесь не разбирается", {}}},
         "\"$schema\"",
         {},
         {}},
        {"$schema with the file ending after its value",
         "{\"$schema\": \"x\"",
         {{E,
           1,
           2,
           reading("unknown field `$schema`, expected one of `schema`, `revision`, `messages` at line 1 column 10"),
           {"ключ `$schema` лента не допускает: удалите его и свяжите схему с файлом в настройках редактора (VS Code: "
            "json.schemas; JetBrains: JSON Schema Mappings; см. «Editor set-up» в doc/feed-format.md)"}},
          {LE,
           1,
           16,
           "JSON: в конце файла не закрыты скобки",
           {"файл кончился, а скобки не закрыты: в конце не хватает `}`"}}},
         "\"$schema\"",
         {},
         {{"\"$schema\": \"x\"", "}"}}},
        // What a value must be, in the words of its field; the reader's type names only where no field is known.
        {"u8",
         HEAD + "  {\"id\": \"a\", \"priority\": 256}]}",
         {{E,
           2,
           27,
           reading("invalid value: integer `256`, expected u8 at line 2 column 29"),
           {"priority — целое число 0, 1 или 2 без кавычек"}}},
         "256",
         {},
         {}},
        // The reader names the field: a key written with an escape is the same field (no note before).
        {"u8 under an escaped key",
         HEAD + "  {\"id\": \"a\", \"pr\\u0069ority\": 256}]}",
         {{E,
           2,
           32,
           reading("invalid value: integer `256`, expected u8 at line 2 column 34"),
           {"priority — целое число 0, 1 или 2 без кавычек"}}},
         "256",
         {},
         {}},
        {"u32 and a fraction",
         "{\"schema\": 1e0}",
         {{E,
           1,
           12,
           reading("invalid type: floating point `1.0`, expected u32 at line 1 column 14"),
           {"число с дробной частью или показателем степени (`1.0`, `1e2`) не целое, даже если равно целому: пишите "
            "`1`",
            "schema — число 1 без кавычек"}}},
         "1e0",
         {},
         {{"e0", ""}}},
        {"u8 and a fraction",
         with(OPEN_MESSAGE + CLOSE_MESSAGE, "\"priority\": 1", "\"priority\": 1.0"),
         {{E,
           1,
           67,
           reading("invalid type: floating point `1.0`, expected u8 at line 1 column 69"),
           {"число с дробной частью или показателем степени (`1.0`, `1e2`) не целое, даже если равно целому: пишите "
            "`1`",
            "priority — целое число 0, 1 или 2 без кавычек"}}},
         "1.0",
         {},
         {{".0", ""}}},
        // The number the file ends with is still read whole.
        {"u64 and a fraction at the end of the file",
         "{\"schema\": 1, \"revision\": 31.0",
         {{E,
           1,
           27,
           reading("invalid type: floating point `31.0`, expected u64 at line 1 column 30"),
           {"число с дробной частью или показателем степени (`1.0`, `1e2`) не целое, даже если равно целому: пишите "
            "`31`",
            "revision — целое число не меньше 1 без кавычек"}}},
         "31.0",
         {},
         {{".0", "}"}}},
        // A fraction that is no integer: nothing to write instead but an integer of the author's.
        {"u32 and a fraction that is no integer",
         "{\"schema\": 1.5}",
         {{E,
           1,
           12,
           reading("invalid type: floating point `1.5`, expected u32 at line 1 column 14"),
           {"число с дробной частью или показателем степени (`1.0`, `1e2`) не целое, даже если равно целому: пишите "
            "`1`, `100`",
            "schema — число 1 без кавычек"}}},
         "1.5",
         {},
         {}},
        // An integer the field cannot hold is no integer to write instead.
        {"an integer beyond the field's range, with an exponent",
         "{\"schema\": 1e10}",
         {{E,
           1,
           12,
           reading("invalid type: floating point `10000000000.0`, expected u32 at line 1 column 15"),
           {"число с дробной частью или показателем степени (`1.0`, `1e2`) не целое, даже если равно целому: пишите "
            "`1`, `100`",
            "schema — число 1 без кавычек"}}},
         "1e10",
         {},
         {}},
        {"u64",
         "{\"schema\": 1, \"revision\": -1}",
         {{E,
           1,
           27,
           reading("invalid value: integer `-1`, expected u64 at line 1 column 28"),
           {"revision — целое число не меньше 1 без кавычек"}}},
         "-1",
         {},
         {}},
        // JSON writes no leading zero: the number in quotation marks is written as JSON has it.
        {"a number with a leading zero in quotation marks",
         "{\"schema\": 1, \"revision\": \"01\"}",
         {{E,
           1,
           27,
           reading("invalid type: string \"01\", expected u64 at line 1 column 30"),
           {"revision — целое число не меньше 1 без кавычек; пишите `1`"}}},
         "\"01\"",
         {},
         {{"\"01\"", "1"}}},
        {"i64",
         with(feed(""), "1767225600", "\"1767225600\""),
         {{E,
           2,
           69,
           reading("invalid type: string \"1767225600\", expected i64 at line 2 column 80"),
           {"start_at — целое число секунд Unix без кавычек, например 1767225600 (это 2026-01-01 00:00:00 UTC); "
            "пишите `1767225600`"}}},
         "\"1767225600\"",
         {},
         {{"\"1767225600\"", "1767225600"}}},
        {"time as a date",
         with(feed(""), "1767225600", "\"2026-03-20\""),
         {{E,
           2,
           69,
           reading("invalid type: string \"2026-03-20\", expected i64 at line 2 column 80"),
           {TIME + "`\"2026-03-20\"` без часового пояса, если считать по UTC, — это 2026-03-20 00:00:00 UTC, то есть "
                   "`1773964800`"}}},
         "\"2026-03-20\"",
         {},
         {{"\"2026-03-20\"", "1773964800"}}},
        {"time with an offset",
         with(feed(""), "1767225600", "\"2026-03-20T10:00:00+03:00\""),
         {{E,
           2,
           69,
           reading("invalid type: string \"2026-03-20T10:00:00+03:00\", expected i64 at line 2 column 95"),
           {TIME + "`\"2026-03-20T10:00:00+03:00\"` — это 2026-03-20 07:00:00 UTC, то есть `1773990000`"}}},
         "\"2026-03-20T10:00:00+03:00\"",
         {},
         {{"\"2026-03-20T10:00:00+03:00\"", "1773990000"}}},
        {"time in UTC",
         with(feed(""), "1767225600", "\"2026-03-20 10:00Z\""),
         {{E,
           2,
           69,
           reading("invalid type: string \"2026-03-20 10:00Z\", expected i64 at line 2 column 87"),
           {TIME + "`\"2026-03-20 10:00Z\"` — это 2026-03-20 10:00:00 UTC, то есть `1774000800`"}}},
         "\"2026-03-20 10:00Z\"",
         {},
         {{"\"2026-03-20 10:00Z\"", "1774000800"}}},
        {"time as a Russian date",
         with(feed(""), "1767225600", "\"20.03.2026\""),
         {{E,
           2,
           69,
           reading("invalid type: string \"20.03.2026\", expected i64 at line 2 column 80"),
           {TIME + "`\"20.03.2026\"` без часового пояса, если считать по UTC, — это 2026-03-20 00:00:00 UTC, то есть "
                   "`1773964800`"}}},
         "\"20.03.2026\"",
         {},
         {{"\"20.03.2026\"", "1773964800"}}},
        {"time as a word",
         with(feed(""), "1767225600", "\"завтра\""),
         {{E,
           2,
           69,
           reading("invalid type: string \"завтра\", expected i64 at line 2 column 82"),
           {"start_at — целое число секунд Unix без кавычек, например 1767225600 (это 2026-01-01 00:00:00 UTC)"}}},
         "\"завтра\"",
         {},
         {}},
        {"no such day",
         with(feed(""), "1767225600", "\"2026-02-30\""),
         {{E,
           2,
           69,
           reading("invalid type: string \"2026-02-30\", expected i64 at line 2 column 80"),
           {"start_at — целое число секунд Unix без кавычек, например 1767225600 (это 2026-01-01 00:00:00 UTC)"}}},
         "\"2026-02-30\"",
         {},
         {}},
        {"number in quotes",
         HEAD + "  {\"id\": \"a\", \"priority\": \"1\"}]}",
         {{E,
           2,
           27,
           reading("invalid type: string \"1\", expected u8 at line 2 column 29"),
           {"priority — целое число 0, 1 или 2 без кавычек; пишите `1`"}}},
         "\"1\"",
         {},
         {{"\"1\"", "1"}}},
        {"struct Cta",
         feed(", \"cta\": \"open_updates\""),
         {{E,
           2,
           110,
           reading("invalid type: string \"open_updates\", expected struct Cta at line 2 column 123"),
           {"cta — объект {\"kind\": …} или null; пишите `{\"kind\": \"open_updates\"}`"}}},
         "\"open_updates\"",
         {},
         {{"\"open_updates\"", "{\"kind\": \"open_updates\"}"}}},
        {"struct Message",
         HEAD + "  []]}",
         {{E, 2, 3, reading("invalid length 0, expected struct Message with 9 elements at line 2 column 4"), {}}},
         "[]",
         {},
         {}},
        {"struct Feed",
         "null",
         {{E,
           1,
           1,
           reading("invalid type: null, expected struct Feed at line 1 column 4"),
           {"здесь ожидается объект ленты {\"schema\": 1, \"revision\": …, \"messages\": […]}"}}},
         "null",
         {},
         {}},
        {"a sequence",
         "{\"schema\": 1, \"revision\": 1, \"messages\": {}}",
         {{E,
           1,
           42,
           reading("invalid type: map, expected a sequence at line 1 column 41"),
           {"messages — массив сообщений: [{…}, {…}]"}}},
         "{",
         {},
         {}},
        {"a string",
         HEAD + "  {\"id\": 7}]}",
         {{E,
           2,
           10,
           reading("invalid type: integer `7`, expected a string at line 2 column 10"),
           {"id — строка в двойных кавычках: \"…\""}}},
         "7",
         {},
         {}},
        {"unit",
         feed(", \"cta\": {\"kind\": {\"open_updates\": true}}"),
         {{E,
           2,
           136,
           reading("invalid type: boolean `true`, expected unit at line 2 column 139"),
           {"здесь ожидается null"}}},
         "true",
         {},
         {}},
        // Rule failures: which version field and its completed form; lengths counted in code points.
        {"version of two numbers",
         feed(", \"minVersion\": \"2.1\""),
         {{E,
           2,
           117,
           "messages: версия не semver из 3 числовых частей (id \"a\")",
           {THREE_NUMBERS + ": вместо \"2.1\" пишите \"2.1.0\""}}},
         "\"2.1\"",
         {},
         {{".1", ".1.0"}}},
        {"version with v and leading zeros",
         feed(", \"minVersion\": \"v02\""),
         {{E,
           2,
           117,
           "messages: версия не semver из 3 числовых частей (id \"a\")",
           {THREE_NUMBERS + ": вместо \"v02\" пишите \"2.0.0\""}}},
         "\"v02\"",
         {},
         {{"v02", "2.0.0"}}},
        {"version with a suffix",
         feed(", \"maxVersion\": \"2.1.0-beta\""),
         {{E,
           2,
           117,
           "messages: версия не semver из 3 числовых частей (id \"a\")",
           {"maxVersion — это три числа через точку (major.minor.patch) без букв и суффиксов, например \"2.1.0\""}}},
         "\"2.1.0-beta\"",
         {},
         {}},
        {"version beyond 64 bits",
         feed(", \"minVersion\": \"18446744073709551616.0.0\""),
         {{E,
           2,
           117,
           "messages: версия не semver из 3 числовых частей (id \"a\")",
           {THREE_NUMBERS + ", каждое не больше 18446744073709551615"}}},
         "\"18446744073709551616.0.0\"",
         {},
         {}},
        {"title of family emoji",
         with(feed(""), "\"t\"", "\"" + repeat("\U0001F468\u200D\U0001F469\u200D\U0001F467", 17) + "\""),
         {{E,
           2,
           39,
           "messages: title длиннее 80 символов (id \"a\")",
           {"в title 85 символов, допустимо не больше 80", CODE_POINTS + "68 таких добавочных точек"}}},
         "\"👨\u200d👩\u200d👧👨\u200d👩\u200d👧👨\u200d👩\u200d👧👨\u200d👩\u200d👧👨\u200d👩\u200d👧👨\u200d👩\u200d👧👨\u200d👩\u200d👧👨"
         "\u200d👩\u200d👧👨\u200d👩\u200d👧👨\u200d👩\u200d👧👨\u200d👩\u200d👧👨\u200d👩\u200d👧👨\u200d👩\u200d👧👨\u200d👩\u200d👧👨"
         "\u200d👩\u200d👧👨\u200d👩\u200d👧👨\u200d👩\u200d👧\"",
         {},
         {}},
        {"title of flags and accents",
         with(feed(""), "\"t\"", "\"" + repeat("\U0001F1F7\U0001F1FA", 40) + "е\u0301\""),
         {{E,
           2,
           39,
           "messages: title длиннее 80 символов (id \"a\")",
           {"в title 82 символа, допустимо не больше 80", CODE_POINTS + "41 такая добавочная точка"}}},
         "\"🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺🇷🇺е\u0301\"",
         {},
         {}},
        // Each range of joining marks at both of its ends, counted; the code points beside them not.
        {"title of joining marks at the ends of their ranges",
         with(feed(""), "\"t\"",
              "\"\u0300\u036F\u1AB0\u1AFF\u1DC0\u1DFF\u20D0\u20FF\uFE20\uFE2F\uFE00\uFE0F\U0001F3FB\U0001F3FF\U000E0020"
              "\U000E007F\u02FF\u0370\u1AAF\u1B00\u1DBF\u1E00\u20CF\u2100\uFE1F\uFE30\uFDFF\uFE10\U0001F3FA\U0001F400"
              "\U000E001F\U000E0080\U0001F1E6\U0001F1FF\U0001F1E5\U0001F1E5\U0001F200\U0001F200" +
                  repeat("x", 43) + "\""),
         {{E,
           2,
           39,
           "messages: title длиннее 80 символов (id \"a\")",
           {"в title 81 символ, допустимо не больше 80", CODE_POINTS + "17 таких добавочных точек"}}},
         "\"\u0300\u036f\u1ab0\u1aff\u1dc0\u1dff\u20d0\u20ff\ufe20\ufe2f\ufe00\ufe0f🏻🏿\U000e0020\U000e007f˿Ͱ"
         "\u1aaf\u1b00ᶿḀ\u20cf℀\ufe1f︰﷿︐🏺🐀\U000e001f\U000e0080🇦🇿\U0001f1e5\U0001f1e5🈀🈀xxxxxxxxxxxxxxxxxx"
         "x"
         "x"
         "x"
         "x"
         "x"
         "x"
         "x"
         "x"
         "xxxxxxxxxxxxxxxxx\"",
         {},
         {}},
        {"title of letters",
         with(feed(""), "\"t\"", "\"" + repeat("t", 81) + "\""),
         {{E, 2, 39, "messages: title длиннее 80 символов (id \"a\")", {"в title 81 символ, допустимо не больше 80"}}},
         "\"ttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttttt\"",
         {},
         {}},
        // Past the first error: every later mistake of the JSON, and what the rules find in each
        // message that reads on its own (the one the reader stopped in is not one of them).
        {"a long title past a trailing comma",
         HEAD + message(",") + ",\n" + with(with(message(), "\"a\"", "\"b\""), "\"t\"", "\"" + repeat("x", 81) + "\"") +
             "\n]}",
         {{E,
           2,
           101,
           reading("trailing comma at line 2 column 102"),
           {"лишняя запятая: после последней пары «ключ: значение» объекта запятая не ставится; удалите её"}},
          {LE, 3, 39, "messages: title длиннее 80 символов (id \"b\")", {"в title 81 символ, допустимо не больше 80"}}},
         ",",
         {{"000,", "000"}},
         {}},
        {"a comment and an ended window past a type error",
         "{\"schema\": \"1\", \"revision\": 1, \"messages\": [\n" + with(message(), "1769904000", "1768000000") +
             "\n]} // конец",
         {{E,
           1,
           12,
           reading("invalid type: string \"1\", expected u32 at line 1 column 14"),
           {"schema — число 1 без кавычек; пишите `1`"}},
          {LE,
           3,
           4,
           "JSON: комментарий, которого в JSON нет",
           {"здесь комментарий `//`: в JSON комментариев нет, удалите его"}},
          {LW,
           2,
           91,
           "окно показа уже закончилось, если считать end_at секундами Unix (id \"a\")",
           {"end_at 1768000000 — это 2026-01-09 23:06:40 UTC, а сейчас 2026-01-09 23:06:40 UTC (1768000000)"}}},
         "\"1\"",
         {{" // конец", ""}},
         {{"\"1\"", "1"}}},
        {"the message the reader stopped in",
         HEAD + message(", \"titel\": 1") + ",\n" +
             with(with(message(), "\"a\"", "\"b\""), "\"priority\": 1", "\"priority\": 3") + "\n]}",
         {{E,
           2,
           103,
           reading("unknown field `titel`, expected one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, "
                   "`cta`, `minVersion`, `maxVersion` at line 2 column 109"),
           {"похоже на `title`, но `title` в этом объекте уже есть: один из двух ключей лишний"}},
          {LE, 3, 27, "messages: priority 3 вне 0..=2 (id \"b\")", {}}},
         "\"titel\"",
         {},
         {}},
        // Warnings: after every error, message by message.
        {"milliseconds",
         HEAD + with(message(), "\"priority\": 1", "\"priority\": 3") + ",\n" +
             with(with(message(), "\"a\"", "\"b\""), "1767225600", "-1767225600000") + "\n]}",
         {{E, 2, 27, "messages: priority 3 вне 0..=2 (id \"a\")", {}},
          in_milliseconds(3, 69, "start_at", "-1767225600000", 'b', "1914-01-01 00:00:00 UTC", "-1767225600")},
         "3",
         {},
         {{"00000", "00"}}},
        {"milliseconds from 10^11 on",
         with(with(feed(""), "1767225600", "100000000000"), "1769904000", "100000000001"),
         {{W,
           2,
           93,
           "end_at 100000000001 похоже на миллисекунды, а не секунды (id \"a\")",
           {"в секундах Unix это дальше 5138 года, в миллисекундах — 1973-03-03 09:46:40 UTC, то есть 100000000 в "
            "секундах (приложение само не приписывает полям времени единиц: это догадка)",
            WINDOW_WOULD_CLOSE}}},
         "100000000001",
         {},
         {}},
        // Divided, the end would come before the start: no suggestion (fixing would refuse it).
        {"milliseconds that divided end before the start",
         with(with(feed(""), "1767225600", "1769904000"), "1769904000}", "1767225600000}"),
         {{W,
           2,
           91,
           "end_at 1767225600000 похоже на миллисекунды, а не секунды (id \"a\")",
           {"в секундах Unix это дальше 5138 года, в миллисекундах — 2026-01-01 00:00:00 UTC, то есть 1767225600 в "
            "секундах (приложение само не приписывает полям времени единиц: это догадка)",
            WINDOW_WOULD_CLOSE}}},
         "1767225600000",
         {},
         {}},
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
          in_milliseconds(3, 69, "start_at", "-74784816000000", 'b', "-0400-03-01 00:00:00 UTC", "-74784816000"),
          in_milliseconds(3, 96, "end_at", "4102444799000", 'b', "2099-12-31 23:59:59 UTC", "4102444799"),
          in_milliseconds(4, 69, "start_at", "1721001600000", 'c', "2024-07-15 00:00:00 UTC", "1721001600"),
          in_milliseconds(4, 94, "end_at", "100000000001000", 'c', "100000000001", "100000000001"),
          in_milliseconds(5, 69, "start_at", "4107542400000", 'd', "2100-03-01 00:00:00 UTC", "4107542400"),
          in_milliseconds(5, 94, "end_at", "4119292800000", 'd', "2100-07-15 00:00:00 UTC", "4119292800")},
         "-100000000000000",
         {},
         {{"000, \"end_at\": 100000000000000},\n  {\"id\": \"b\", \"priority\": 1, \"title\": \"t\", \"body\": \"b\", "
           "\"start_at\": -74784816000000, \"end_at\": 4102444799000},\n  {\"id\": \"c\", \"priority\": 1, \"title\": "
           "\"t\", \"body\": \"b\", \"start_at\": 1721001600000, \"end_at\": 100000000001000},\n  {\"id\": \"d\", "
           "\"priority\": 1, \"title\": \"t\", \"body\": \"b\", \"start_at\": 4107542400000, \"end_at\": 41192928000",
           ", \"end_at\": 100000000000},\n  {\"id\": \"b\", \"priority\": 1, \"title\": \"t\", \"body\": \"b\", "
           "\"start_at\": -74784816000, \"end_at\": 4102444799},\n  {\"id\": \"c\", \"priority\": 1, \"title\": \"t\", "
           "\"body\": \"b\", \"start_at\": 1721001600, \"end_at\": 100000000001000},\n  {\"id\": \"d\", \"priority\": "
           "1, \"title\": \"t\", \"body\": \"b\", \"start_at\": 4107542400, \"end_at\": 41192928"}}},
        {"invisible title",
         with(feed(""), "\"t\"", "\"\\u200b\\u0301\""),
         {{W,
           2,
           39,
           "title состоит только из невидимых символов (id \"a\")",
           {"в title только U+200B, U+0301: приложение покажет пустое место"}}},
         "\"\\u200b\\u0301\"",
         {},
         {}},
        {"invisible body",
         with(feed(""), "\"b\"", "\" \\u00ad\\u00a0\""),
         {{W,
           2,
           52,
           "body состоит только из невидимых символов (id \"a\")",
           {"в body только U+0020, U+00AD, U+00A0: приложение покажет пустое место"}}},
         "\" \\u00ad\\u00a0\"",
         {},
         {}},
        {"visible text", with(feed(""), "\"t\"", "\"a\\u200b\""), {}, "", {}, {}},
        {"ended window",
         with(feed(""), "1769904000", "1768000000"),
         {{W,
           2,
           91,
           "окно показа уже закончилось, если считать end_at секундами Unix (id \"a\")",
           {"end_at 1768000000 — это 2026-01-09 23:06:40 UTC, а сейчас 2026-01-09 23:06:40 UTC (1768000000)"}}},
         "1768000000",
         {},
         {}},
        {"window still open", with(feed(""), "1769904000", "1768000001"), {}, "", {}, {}},
        {"byte-order mark",
         "\xEF\xBB\xBF" + feed(""),
         {{E,
           1,
           1,
           reading("expected value at line 1 column 1"),
           {"файл начинается с метки порядка байтов (BOM, байты EF BB BF): сохраните его в UTF-8 без BOM (TextEdit: "
            "Формат → Сделать простым текстом, затем Файл → Сохранить, кодировка «Юникод (UTF-8)»; VS Code: «UTF-8 "
            "with BOM» в строке состояния → «Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», кодировка "
            "«UTF-8»)"}}},
         "\ufeff",
         {{"\ufeff", ""}},
         {}},
        {"a string the file ends in",
         HEAD + "  {\"id\": \"a",
         {{E, 2, 11, reading("EOF while parsing a string at line 2 column 11"), {}}},
         "a",
         {},
         {}},
        // Fixing: what --fix makes of a draft and what --unsafe-fixes makes of it besides, only the bytes
        // of the mistake changing (line ends, spaces and the other strings stay as the author wrote them).
        {"a comment line in a Windows file",
         "{\r\n  // c\r\n  \"schema\": 1,\r\n  \"revision\": 1\r\n}\r\n",
         {{E,
           2,
           3,
           reading("key must be a string at line 2 column 3"),
           {"здесь комментарий `//`: в JSON комментариев нет, удалите его"}}},
         "/",
         {{"// c\r\n  ", ""}},
         {}},
        {"a comment inside a line",
         R"({"schema": 1, /* a */ "revision": 1})",
         {{E,
           1,
           15,
           reading("key must be a string at line 1 column 15"),
           {"здесь комментарий `/*`: в JSON комментариев нет, удалите его"}}},
         "/",
         {{"/* a */ ", ""}},
         {}},
        {"a comment at the end of a line",
         "{\"schema\": 1,\t// s\n\"revision\": 1}",
         {{E,
           1,
           15,
           reading("key must be a string at line 1 column 15"),
           {"здесь комментарий `//`: в JSON комментариев нет, удалите его"}}},
         "/",
         {{"\t// s", ""}},
         {}},
        {"a comment that never ends",
         "{\"schema\": 1, /* a \"revision\": 1}",
         {{E,
           1,
           15,
           reading("key must be a string at line 1 column 15"),
           {"здесь комментарий `/*`: в JSON комментариев нет, удалите его"}}},
         "/",
         {},
         {}},
        {"a trailing comma and its comment",
         "{\"schema\": 1, \"revision\": 1, // r\n}",
         {{E,
           1,
           30,
           reading("key must be a string at line 1 column 30"),
           {"здесь комментарий `//`: в JSON комментариев нет, удалите его"}},
          {LE,
           1,
           28,
           "JSON: лишняя запятая перед закрывающей скобкой",
           {"лишняя запятая: после последней пары «ключ: значение» объекта запятая не ставится; удалите её"}}},
         "/",
         {{", // r", ""}},
         {}},
        {"a comma missing before a comment",
         "{\"schema\": 1 // s\n \"revision\": 1}",
         {{E,
           1,
           14,
           reading("expected `,` or `}` at line 1 column 14"),
           {"здесь комментарий `//`: в JSON комментариев нет, удалите его"}},
          {LE, 2, 2, "JSON: пропущена запятая", {}}},
         "/",
         {{" // s", ","}},
         {}},
        {"a value missing is not a trailing comma",
         R"({"schema": 1, "revision": })",
         {{E, 1, 27, reading("expected value at line 1 column 27"), {}}},
         "}",
         {},
         {}},
        {"two strings are not a missing comma",
         R"({"schema": 1, "revision" "x": 1})",
         {{E, 1, 26, reading("expected `:` at line 1 column 26"), {}}},
         "\"",
         {},
         {}},
        {"single quotes, an escaped apostrophe and a double quote inside",
         OPEN_MESSAGE + R"("title": 'it\'s "new"', "body": "b", "start_at": 1, "end_at": 2}]})",
         {{E, 1, 79, reading("expected value at line 1 column 79"), {"здесь одинарная кавычка `'`: " + ASCII_QUOTES}}},
         "'",
         {{"'it\\'s \"new\"'", "\"it's \\\"new\\\"\""}},
         {}},
        {"an apostrophe inside typographic quotes",
         OPEN_MESSAGE + "\"title\": “Don’t”, \"body\": \"b\", \"start_at\": 1, \"end_at\": 2}]}",
         {{E,
           1,
           79,
           reading("expected value at line 1 column 79"),
           {"здесь типографская кавычка `“` (U+201C): " + ASCII_QUOTES + AUTOCORRECT}}},
         "“",
         {{"“Don’t”", "\"Don’t\""}},
         {}},
        {"a typographic quote that closes nothing",
         OPEN_MESSAGE + "\"title\": “t, \"body\": \"b\", \"start_at\": 1, \"end_at\": 2}]}",
         {{E,
           1,
           79,
           reading("expected value at line 1 column 79"),
           {"здесь типографская кавычка `“` (U+201C): " + ASCII_QUOTES + AUTOCORRECT}}},
         "“",
         {},
         {}},
        {"a string closed typographically on the same line",
         OPEN_MESSAGE + "\"title\": \"Скидка”, \"body\": \"b\", \"start_at\": 1, \"end_at\": 2}]}",
         {{E,
           1,
           86,
           reading("expected `,` or `}` at line 1 column 98"),
           {"здесь типографская кавычка `”` (U+201D): " + ASCII_QUOTES + AUTOCORRECT}}},
         "”",
         {{"”", "\""}},
         {}},
        {"a no-break space and an ideographic space",
         "{\"schema\":\u00A01,\u3000\"revision\": 1}",
         {{E,
           1,
           11,
           reading("expected value at line 1 column 11"),
           {"здесь неразрывный пробел U+00A0 (на Mac его ставит ⌥Пробел)" + JSON_SPACES}},
          {LE,
           1,
           14,
           "JSON: пробел, которого JSON не допускает",
           {"здесь идеографический пробел U+3000" + JSON_SPACES}}},
         "\u00a0",
         {{"\u00a01,\u3000", " 1, "}},
         {}},
        {"a no-break space inside a string stays",
         OPEN + "]\u00A0,}",
         {{E,
           1,
           44,
           reading("expected `,` or `}` at line 1 column 44"),
           {"здесь неразрывный пробел U+00A0 (на Mac его ставит ⌥Пробел)" + JSON_SPACES}},
          {LE,
           1,
           45,
           "JSON: лишняя запятая перед закрывающей скобкой",
           {"лишняя запятая: после последней пары «ключ: значение» объекта запятая не ставится; удалите её"}}},
         "\u00a0",
         {{"\u00a0,", " "}},
         {}},
        // Written as their exact edit says: a key without quotation marks, another case of a
        // literal, a dash for a minus, a character that shows nothing between tokens.
        {"a bare key",
         "{schema: 1, \"revision\": 1}",
         {{E,
           1,
           2,
           reading("key must be a string at line 1 column 2"),
           {"ключ `schema` без кавычек: в JSON ключ пишется в прямых двойных кавычках: `\"schema\"`"}}},
         "schema",
         {{"schema", "\"schema\""}},
         {}},
        // A key renamed into one its record has already is no repair: the suggestion is not made.
        {"a key renamed into a key already there stays, with the suggestions",
         OPEN_MESSAGE + R"("Priority": 2, "title": "t", "body": "b", "start_at": 1, "end_at": 2}]})",
         {{E,
           1,
           70,
           "messages: JSON ленты не разбирается: unknown field `Priority`, " + MESSAGE_KEYS + " at line 1 column 79",
           {"похоже на `priority`, но `priority` в этом объекте уже есть: один из двух ключей лишний"}}},
         "\"Priority\"",
         {},
         {}},
        // Windows-1251 to the last byte of the file, past the end of the feed.
        {"a file in Windows-1251 to its last byte",
         OPEN + "{\"id\": \"a\", \"priority\": 1, \"title\": \"\xCF\xF0\xEE\xE4\xEB\xE8\xF2\xE5\", \"body\": "
                "\"\xEB\xE8\xF6\xE5\xED\xE7\xE8\xFE\", \"start_at\": 1, \"end_at\": 2}]} \xCF\xEE\xEA\xE0",
         {{E,
           1,
           80,
           reading("invalid unicode code point at line 1 column 88"),
           {"файл не в UTF-8: похоже, он сохранён в кодировке Windows-1251 (в ней эти байты читаются как «Продлите»" +
            SAVE_1251}},
          {LE, 1, 141, "JSON: здесь не разбирается", {}}},
         "\xCF\xF0\xEE\xE4\xEB\xE8\xF2\xE5",
         {{"\xCF\xF0\xEE\xE4\xEB\xE8\xF2\xE5\", \"body\": \"\xEB\xE8\xF6\xE5\xED\xE7\xE8\xFE\", \"start_at\": 1, "
           "\"end_at\": 2}]} \xCF\xEE\xEA\xE0",
           "Продлите\", \"body\": \"лицензию\", \"start_at\": 1, \"end_at\": 2}]} Пока"}},
         {}},
        {"a comma before the first member",
         "{,\"schema\": 1, \"revision\": 1}",
         {{E, 1, 2, reading("key must be a string at line 1 column 2"), {FIRST_COMMA}}},
         ",",
         {{",", ""}},
         {}},
        {"a colon missing",
         "{\"schema\" 1, \"revision\": 1}",
         {{E,
           1,
           10,
           reading("expected `:` at line 1 column 11"),
           {"после ключа \"schema\" нет двоеточия: ключ и значение разделяются `:`, пишите `\"schema\": …`"}}},
         " ",
         {{"a\"", "a\":"}},
         {}},
        {"a comment of YAML on its own line",
         "# лента\n{\"schema\": 1, \"revision\": 1}",
         {{E,
           1,
           1,
           reading("expected value at line 1 column 1"),
           {"здесь комментарий `#`: в JSON комментариев нет, удалите его"}}},
         "#",
         {{"# лента\n", ""}},
         {}},
        // Probable only: a record's `}`, braces for brackets, quotation marks inside a text.
        {"a record's brace missing stays",
         OPEN_MESSAGE + R"("title": "t", "body": "b", "start_at": 1, "end_at": 2, )" + R"({"id": "b"}]})",
         {{E,
           1,
           125,
           reading("key must be a string at line 1 column 125"),
           {"здесь начинается новая запись, а предыдущая не закрыта: похоже, перед запятой пропущена закрывающая "
            "скобка `}`"}}},
         "{",
         {},
         {{"2", "2}"}}},
        {"a record's brace missing, with the suggestions",
         OPEN_MESSAGE + R"("title": "t", "body": "b", "start_at": 1, "end_at": 2, )" + "\n" +
             OPEN_MESSAGE.substr(OPEN_MESSAGE.find("{\"id")) +
             R"("title": "u", "body": "b", "start_at": 1, "end_at": 2}]})",
         {{E,
           2,
           1,
           reading("key must be a string at line 2 column 1"),
           {"здесь начинается новая запись, а предыдущая не закрыта: похоже, перед запятой пропущена закрывающая "
            "скобка `}`"}},
          {LW,
           2,
           80,
           "окно показа уже закончилось, если считать end_at секундами Unix (id \"a\")",
           {"end_at 2 — это 1970-01-01 00:00:02 UTC, а сейчас 2026-01-09 23:06:40 UTC (1768000000)"}}},
         "{",
         {},
         {{"2", "2}"}}},
        {"members between square brackets, with the suggestions",
         OPEN + "[\"id\": \"a\", \"priority\": 1, \"title\": \"t\", \"body\": \"b\", \"start_at\": 1, \"end_at\": 2]]}",
         {{E,
           1,
           43,
           reading("expected `,` or `]` at line 1 column 48"),
           {"пары «ключ: значение» пишутся в фигурных скобках `{ … }`, а здесь они в квадратных `[ … ]`"}}},
         "[",
         {},
         {{"[\"id\": \"a\", \"priority\": 1, \"title\": \"t\", \"body\": \"b\", \"start_at\": 1, \"end_at\": 2]",
           "{\"id\": \"a\", \"priority\": 1, \"title\": \"t\", \"body\": \"b\", \"start_at\": 1, \"end_at\": 2}"}}},
        {"quotation marks inside a text, with the suggestions",
         OPEN_MESSAGE + R"("title": "Тариф "Плюс" и "Про"", "body": "b", "start_at": 1, "end_at": 2}]})",
         {{E,
           1,
           86,
           reading("expected `,` or `}` at line 1 column 92"),
           {"прямая кавычка `\"` внутри текста закрывает строку раньше времени: внутри строки пишите её как `\\\"` или "
            "возьмите «ёлочки»"}}},
         "\"",
         {},
         {{"\"Плюс\" и \"Про", "\\\"Плюс\\\" и \\\"Про\\"}}},
        // A key the record does not have would be refused quoted too: a suggestion only.
        {"a bare key of another record stays",
         "{\"schema\": 1, title: 1}",
         {{E,
           1,
           15,
           reading("key must be a string at line 1 column 15"),
           {"ключ `title` без кавычек: в JSON ключ пишется в прямых двойных кавычках: `\"title\"`"}}},
         "title",
         {},
         {{"title", "\"title\""}}},
        // Only a whole value is quoted: the first word of a text without quotation marks is not.
        {"a text without quotation marks stays, with the suggestions",
         OPEN_MESSAGE + "\"title\": Продлите лицензию, \"body\": \"b\", \"start_at\": 1, \"end_at\": 2}]}",
         {{E,
           1,
           79,
           reading("expected value at line 1 column 79"),
           {"значение `Продлите` без кавычек: строка пишется в прямых двойных кавычках: `\"Продлите\"`"}}},
         "Продлите",
         {},
         {}},
        {"a word without quotation marks, with the suggestions",
         OPEN_MESSAGE + "\"title\": Скидка, \"body\": \"b\", \"start_at\": 1, \"end_at\": 2}]}",
         {{E,
           1,
           79,
           reading("expected value at line 1 column 79"),
           {"значение `Скидка` без кавычек: строка пишется в прямых двойных кавычках: `\"Скидка\"`"}}},
         "Скидка",
         {},
         {{"Скидка", "\"Скидка\""}}},
        {"NULL for null",
         OPEN_MESSAGE + "\"title\": \"t\", \"body\": \"b\", \"start_at\": 1, \"end_at\": 2, \"cta\": NULL}]}",
         {{E,
           1,
           132,
           reading("expected value at line 1 column 132"),
           {"`NULL`: в JSON это пишется маленькими буквами, `null`"}}},
         "NULL",
         {{"NULL", "null"}},
         {}},
        {"None is only probably null",
         OPEN_MESSAGE + "\"title\": \"t\", \"body\": \"b\", \"start_at\": 1, \"end_at\": 2, \"cta\": None}]}",
         {{E,
           1,
           132,
           reading("expected value at line 1 column 132"),
           {"`None` — так «нет значения» пишут в Python; в JSON это `null`"}}},
         "None",
         {},
         {{"None", "null"}}},
        {"a minus sign of typesetting",
         "{\"schema\": 1, \"revision\": \u22125}",
         {{E,
           1,
           27,
           reading("expected value at line 1 column 27"),
           {"здесь `−` (знак минуса U+2212), а не минус ASCII `-`: отрицательное число пишется с дефисом-минусом с "
            "клавиатуры: `-5`"}}},
         "−",
         {{"−", "-"}},
         {}},
        {"a zero width joiner between tokens",
         "{\"schema\": 1,\u200D \"revision\": 1}",
         {{E,
           1,
           14,
           reading("key must be a string at line 1 column 14"),
           {"здесь невидимый символ U+200D" + JSON_SPACES}}},
         "\u200d",
         {{"\u200d", ""}},
         {}},
        // Only suggestions: the brackets a file cut short lacks, spaces between a number's groups.
        {"brackets open at the end",
         "{\"schema\": 1, \"revision\": 1",
         {{E,
           1,
           28,
           reading("EOF while parsing an object at line 1 column 27"),
           {"файл кончился, а скобки не закрыты: в конце не хватает `}`"}}},
         "",
         {},
         {{"n\": 1", "n\": 1}"}}},
        {"spaces between a number's groups, with the suggestions",
         "{\"schema\": 1, \"revision\": 1 798 761 600}",
         {{E,
           1,
           28,
           reading("expected `,` or `}` at line 1 column 29"),
           {"пробел внутри числа: в JSON число пишется слитно, без пробелов между разрядами: `1798761600`"}}},
         " ",
         {},
         {{" 798 761 ", "798761"}}},
        {"an integer written with a fraction, with the suggestions",
         "{\"schema\": 1, \"revision\": 31.0}",
         {{E,
           1,
           27,
           reading("invalid type: floating point `31.0`, expected u64 at line 1 column 30"),
           {"число с дробной частью или показателем степени (`1.0`, `1e2`) не целое, даже если равно целому: пишите "
            "`31`",
            "revision — целое число не меньше 1 без кавычек"}}},
         "31.0",
         {},
         {{".0", ""}}},
        {"an integer written with an exponent, with the suggestions",
         "{\"schema\": 1, \"revision\": 2.5e1}",
         {{E,
           1,
           27,
           reading("invalid type: floating point `25.0`, expected u64 at line 1 column 31"),
           {"число с дробной частью или показателем степени (`1.0`, `1e2`) не целое, даже если равно целому: пишите "
            "`25`",
            "revision — целое число не меньше 1 без кавычек"}}},
         "2.5e1",
         {},
         {{".5e1", "5"}}},
        {"a fraction that is no integer stays",
         "{\"schema\": 1, \"revision\": 2.5}",
         {{E,
           1,
           27,
           reading("invalid type: floating point `2.5`, expected u64 at line 1 column 29"),
           {"число с дробной частью или показателем степени (`1.0`, `1e2`) не целое, даже если равно целому: пишите "
            "`1`, `100`",
            "revision — целое число не меньше 1 без кавычек"}}},
         "2.5",
         {},
         {}},
        {"a call to action given by its kind alone, with the suggestions",
         OPEN_MESSAGE +
             "\"title\": \"t\", \"body\": \"b\", \"start_at\": 1, \"end_at\": 2, \"cta\": \"open_license\"}]}",
         {{E,
           1,
           132,
           "messages: JSON ленты не разбирается: invalid type: string \"open_license\", expected struct Cta at line 1 "
           "column 145",
           {"cta — объект {\"kind\": …} или null; пишите `{\"kind\": \"open_license\"}`"}}},
         "\"open_license\"",
         {},
         {{"\"open_license\"", "{\"kind\": \"open_license\"}"}}},
        {"a date without quotation marks, with the suggestions",
         OPEN_MESSAGE + "\"title\": \"t\", \"body\": \"b\", \"start_at\": 2027-01-01, \"end_at\": 4102444800}]}",
         {{E,
           1,
           109,
           reading("expected `,` or `}` at line 1 column 113"),
           {"дата `2027-01-01` без кавычек, как число: время в ленте — целое число секунд Unix; эта дата по UTC — "
            "1798761600"}}},
         "2027-01-01",
         {},
         {{"2027-01-01", "1798761600"}}},
        // A typographic mark before JSON's own: the two are one mark, and the title keeps neither.
        {"a typographic mark before a straight one",
         OPEN_MESSAGE + "\"title\": “\"Продлите лицензию”, \"body\": \"b\", \"start_at\": 1, \"end_at\": 2}]}",
         {{E,
           1,
           79,
           reading("expected value at line 1 column 79"),
           {"здесь типографская кавычка `“` (U+201C): " + ASCII_QUOTES + AUTOCORRECT}}},
         "“",
         {{"“\"Продлите лицензию”", "\"Продлите лицензию\""}},
         {}},
        {"a typographic mark before a straight one and another inside stays",
         OPEN_MESSAGE + "\"title\": “\"Цитата\" из книги”, \"body\": \"b\", \"start_at\": 1, \"end_at\": 2}]}",
         {{E,
           1,
           79,
           reading("expected value at line 1 column 79"),
           {"здесь типографская кавычка `“` (U+201C): " + ASCII_QUOTES + AUTOCORRECT}}},
         "“",
         {},
         {}},
        // A tab escaped is still a tab, which a title may not hold: a space is only probable.
        {"a raw tab inside a string",
         OPEN_MESSAGE + "\"title\": \"a\tb\", \"body\": \"b\", \"start_at\": 1, \"end_at\": 2}]}",
         {{E,
           1,
           81,
           "messages: JSON ленты не разбирается: control character (\\u0000-\\u001F) found while parsing a string at "
           "line 1 column 81",
           {"табуляция внутри строки: в JSON она пишется `\\t`, но в title и body управляющих символов быть не должно, "
            "поставьте вместо неё пробел"}}},
         "\t",
         {},
         {{"\t", " "}}},
        // Where lines end in carriage returns, one inside a string is a line break.
        {"a lone carriage return inside a string of a file of such lines",
         OPEN_MESSAGE + "\"title\": \"a\rb\", \"body\": \"b\", \"start_at\": 1, \"end_at\": 2}]}",
         {{E,
           1,
           81,
           "messages: JSON ленты не разбирается: control character (\\u0000-\\u001F) found while parsing a string at "
           "line 1 column 81",
           {LINE_BREAK}}},
         "\r",
         {{"\r", "\\n"}},
         {}},
        {"a lone carriage return inside a string of a file of line feeds",
         OPEN_MESSAGE + "\"title\": \"a\rb\", \"body\": \"b\",\n\"start_at\": 1, \"end_at\": 2}]}\n",
         {{E,
           1,
           81,
           "messages: JSON ленты не разбирается: control character (\\u0000-\\u001F) found while parsing a string at "
           "line 1 column 81",
           {LINE_BREAK}}},
         "\r",
         {},
         {{"\r", "\\n"}}},
        {"$schema between members",
         R"({"schema": 1, "$schema": {"a": [1, "}"]}, "revision": 1})",
         {{E,
           1,
           15,
           "messages: JSON ленты не разбирается: unknown field `$schema`, expected one of `schema`, `revision`, "
           "`messages` at line 1 column 23",
           {"ключ `$schema` лента не допускает: удалите его и свяжите схему с файлом в настройках редактора (VS Code: "
            "json.schemas; JetBrains: JSON Schema Mappings; см. «Editor set-up» в doc/feed-format.md)"}}},
         "\"$schema\"",
         {{"$schema\": {\"a\": [1, \"}\"]}, \"", ""}},
         {}},
        {"$schema first, no space after its comma",
         R"({"$schema":"x","schema":1})",
         {{E,
           1,
           2,
           "messages: JSON ленты не разбирается: unknown field `$schema`, expected one of `schema`, `revision`, "
           "`messages` at line 1 column 10",
           {"ключ `$schema` лента не допускает: удалите его и свяжите схему с файлом в настройках редактора (VS Code: "
            "json.schemas; JetBrains: JSON Schema Mappings; см. «Editor set-up» в doc/feed-format.md)"}}},
         "\"$schema\"",
         {{"$schema\":\"x\",\"", ""}},
         {}},
        {"a key near no known one stays",
         OPEN_MESSAGE + R"("qqqqqqqqqq": "t"}]})",
         {{E,
           1,
           70,
           "messages: JSON ленты не разбирается: unknown field `qqqqqqqqqq`, " + MESSAGE_KEYS + " at line 1 column 81",
           {}}},
         "\"qqqqqqqqqq\"",
         {},
         {}},
        {"a version of three parts, one too large, stays",
         OPEN_MESSAGE + CLOSE_MESSAGE.substr(0, 53) + R"(, "minVersion": "1.2.18446744073709551616"}]})",
         {{E,
           1,
           139,
           "messages: версия не semver из 3 числовых частей (id \"a\")",
           {THREE_NUMBERS + ", каждое не больше 18446744073709551615"}},
          {W,
           1,
           122,
           "окно показа уже закончилось, если считать end_at секундами Unix (id \"a\")",
           {"end_at 2 — это 1970-01-01 00:00:02 UTC, а сейчас 2026-01-09 23:06:40 UTC (1768000000)"}}},
         "\"1.2.18446744073709551616\"",
         {},
         {}},
        {"a file neither UTF-8 nor Windows-1251",
         OPEN + "{\"id\": \"caf\xE9\"}]}",
         {{E,
           1,
           54,
           reading("invalid unicode code point at line 1 column 55"),
           {"файл не в UTF-8: байт 0xE9 не начинает символ UTF-8; сохраните файл в кодировке UTF-8 (TextEdit: Формат → "
            "Сделать простым текстом, затем Файл → Сохранить, кодировка «Юникод (UTF-8)»; VS Code: кодировка в строке "
            "состояния → «Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», кодировка «UTF-8»)"}}},
         "\xE9",
         {},
         {}},
        {"a UTF-8 file with one bad byte is not re-encoded",
         OPEN + "{\"id\": \"\xD0\x9F\xD1\x80\xE8\"}]}",
         {{E,
           1,
           53,
           reading("invalid unicode code point at line 1 column 56"),
           {"файл не в UTF-8: байт 0xE8 не начинает символ UTF-8; сохраните файл в кодировке UTF-8 (TextEdit: Формат → "
            "Сделать простым текстом, затем Файл → Сохранить, кодировка «Юникод (UTF-8)»; VS Code: кодировка в строке "
            "состояния → «Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», кодировка «UTF-8»)"}}},
         "\xE8",
         {},
         {}},
        {"suggestions wait for --unsafe-fixes",
         OPEN_MESSAGE + R"("titel": "t"}]})",
         {{E,
           1,
           70,
           "messages: JSON ленты не разбирается: unknown field `titel`, " + MESSAGE_KEYS + " at line 1 column 76",
           {MAY_MEAN + "`title`"}}},
         "\"titel\"",
         {},
         {{"el", "le"}}},
        {"a date that does not exist",
         OPEN_MESSAGE + R"("title": "t", "body": "b", "start_at": "2026-02-30", "end_at": 2}]})",
         {{E,
           1,
           109,
           "messages: JSON ленты не разбирается: invalid type: string \"2026-02-30\", expected i64 at line 1 column "
           "120",
           {"start_at — целое число секунд Unix без кавычек, например 1767225600 (это 2026-01-01 00:00:00 UTC)"}}},
         "\"2026-02-30\"",
         {},
         {}},
        {"a date with minutes only and an offset without a colon",
         OPEN_MESSAGE + R"("title": "t", "body": "b", "start_at": "2026-03-20 10:00-0130", "end_at": 1800000000}]})",
         {{E,
           1,
           109,
           "messages: JSON ленты не разбирается: invalid type: string \"2026-03-20 10:00-0130\", expected i64 at line "
           "1 column 131",
           {TIME + "`\"2026-03-20 10:00-0130\"` — это 2026-03-20 11:30:00 UTC, то есть `1774006200`"}}},
         "\"2026-03-20 10:00-0130\"",
         {},
         {{"\"2026-03-20 10:00-0130\"", "1774006200"}}},
        // Milliseconds with a remainder: divided, the remainder dropped, as their note says.
        {"times in milliseconds that do not divide",
         OPEN_MESSAGE + R"("title": "t", "body": "b", "start_at": 1774000000001, "end_at": 1774086400002}]})",
         {in_milliseconds(1, 109, "start_at", "1774000000001", 'a', "2026-03-20 09:46:40 UTC", "1774000000"),
          in_milliseconds(1, 134, "end_at", "1774086400002", 'a', "2026-03-21 09:46:40 UTC", "1774086400")},
         "1774000000001",
         {},
         {{"001, \"end_at\": 1774086400002", ", \"end_at\": 1774086400"}}},
        // Both would be the same second: divided, the window would end at its start, so neither
        // is offered (an editor applying one would take what fixing refuses).
        {"times in milliseconds within one second",
         OPEN_MESSAGE + R"("title": "t", "body": "b", "start_at": 1774000000001, "end_at": 1774000000002}]})",
         {{W,
           1,
           109,
           "start_at 1774000000001 похоже на миллисекунды, а не секунды (id \"a\")",
           {"в секундах Unix это дальше 5138 года, в миллисекундах — 2026-03-20 09:46:40 UTC, то есть 1774000000 в "
            "секундах (приложение само не приписывает полям времени единиц: это догадка)",
            WINDOW_WOULD_CLOSE}},
          {W,
           1,
           134,
           "end_at 1774000000002 похоже на миллисекунды, а не секунды (id \"a\")",
           {"в секундах Unix это дальше 5138 года, в миллисекундах — 2026-03-20 09:46:40 UTC, то есть 1774000000 в "
            "секундах (приложение само не приписывает полям времени единиц: это догадка)",
            WINDOW_WOULD_CLOSE}}},
         "1774000000001",
         {},
         {}},
        // Divided, the earliest time is still beyond every date: no seconds to write.
        {"milliseconds that divided are still no date stay",
         OPEN_MESSAGE + R"("title": "t", "body": "b", "start_at": -9223372036854775808, "end_at": 1800000000}]})",
         {in_milliseconds(1, 109, "start_at", "-9223372036854775808", 'a', "-9223372036854775", "-9223372036854775")},
         "-9223372036854775808",
         {},
         {}},
        {"milliseconds that would end before the start stay",
         OPEN_MESSAGE + R"("title": "t", "body": "b", "start_at": 1774000000, "end_at": 1773000000000}]})",
         {{W,
           1,
           131,
           "end_at 1773000000000 похоже на миллисекунды, а не секунды (id \"a\")",
           {"в секундах Unix это дальше 5138 года, в миллисекундах — 2026-03-08 20:00:00 UTC, то есть 1773000000 в "
            "секундах (приложение само не приписывает полям времени единиц: это догадка)",
            WINDOW_WOULD_CLOSE}}},
         "1773000000000",
         {},
         {}},
        // The version its note says to write: no leading zero, no `v`, no spaces, a dot for a comma.
        {"a version with a leading zero",
         OPEN_MESSAGE + CLOSE_MESSAGE.substr(0, 53) + R"(, "minVersion": "02.1"}]})",
         {{E,
           1,
           139,
           "messages: версия не semver из 3 числовых частей (id \"a\")",
           {THREE_NUMBERS + ": вместо \"02.1\" пишите \"2.1.0\""}},
          {W,
           1,
           122,
           "окно показа уже закончилось, если считать end_at секундами Unix (id \"a\")",
           {"end_at 2 — это 1970-01-01 00:00:02 UTC, а сейчас 2026-01-09 23:06:40 UTC (1768000000)"}}},
         "\"02.1\"",
         {},
         {{"02.1", "2.1.0"}}},
        {"a version with a v",
         OPEN_MESSAGE + CLOSE_MESSAGE.substr(0, 53) + R"(, "minVersion": "v2.1.0"}]})",
         {{E,
           1,
           139,
           "messages: версия не semver из 3 числовых частей (id \"a\")",
           {THREE_NUMBERS + ": вместо \"v2.1.0\" пишите \"2.1.0\""}},
          {W,
           1,
           122,
           "окно показа уже закончилось, если считать end_at секундами Unix (id \"a\")",
           {"end_at 2 — это 1970-01-01 00:00:02 UTC, а сейчас 2026-01-09 23:06:40 UTC (1768000000)"}}},
         "\"v2.1.0\"",
         {},
         {{"\"v", "\""}}},
        {"a version with a space before it",
         OPEN_MESSAGE + CLOSE_MESSAGE.substr(0, 53) + R"(, "minVersion": " 2.5.0"}]})",
         {{E,
           1,
           139,
           "messages: версия не semver из 3 числовых частей (id \"a\")",
           {THREE_NUMBERS + ": вместо \" 2.5.0\" пишите \"2.5.0\""}},
          {W,
           1,
           122,
           "окно показа уже закончилось, если считать end_at секундами Unix (id \"a\")",
           {"end_at 2 — это 1970-01-01 00:00:02 UTC, а сейчас 2026-01-09 23:06:40 UTC (1768000000)"}}},
         "\" 2.5.0\"",
         {},
         {{"\" ", "\""}}},
        // Forty characters, spaces after it included, are still read as a version.
        {"a version with spaces after it",
         OPEN_MESSAGE + CLOSE_MESSAGE.substr(0, 53) + R"(, "minVersion": ")" + std::string("1.2") +
             std::string(37, ' ') + "\"}]}",
         {{E,
           1,
           139,
           "messages: версия не semver из 3 числовых частей (id \"a\")",
           {THREE_NUMBERS + ": вместо \"1.2" + std::string(37, ' ') + "\" пишите \"1.2.0\""}},
          {W,
           1,
           122,
           "окно показа уже закончилось, если считать end_at секундами Unix (id \"a\")",
           {"end_at 2 — это 1970-01-01 00:00:02 UTC, а сейчас 2026-01-09 23:06:40 UTC (1768000000)"}}},
         "\"1.2" + std::string(37, ' ') + "\"",
         {},
         {{std::string(37, ' '), ".0"}}},
        {"a version with a comma",
         OPEN_MESSAGE + CLOSE_MESSAGE.substr(0, 53) + R"(, "minVersion": "2,5"}]})",
         {{E,
           1,
           139,
           "messages: версия не semver из 3 числовых частей (id \"a\")",
           {THREE_NUMBERS + ": вместо \"2,5\" пишите \"2.5.0\""}},
          {W,
           1,
           122,
           "окно показа уже закончилось, если считать end_at секундами Unix (id \"a\")",
           {"end_at 2 — это 1970-01-01 00:00:02 UTC, а сейчас 2026-01-09 23:06:40 UTC (1768000000)"}}},
         "\"2,5\"",
         {},
         {{",5", ".5.0"}}},
        {"a version with a suffix stays",
         OPEN_MESSAGE + CLOSE_MESSAGE.substr(0, 53) + R"(, "minVersion": "2.1.0-beta"}]})",
         {{E,
           1,
           139,
           "messages: версия не semver из 3 числовых частей (id \"a\")",
           {THREE_NUMBERS + " без букв и суффиксов, например \"2.1.0\""}},
          {W,
           1,
           122,
           "окно показа уже закончилось, если считать end_at секундами Unix (id \"a\")",
           {"end_at 2 — это 1970-01-01 00:00:02 UTC, а сейчас 2026-01-09 23:06:40 UTC (1768000000)"}}},
         "\"2.1.0-beta\"",
         {},
         {}},
    };
    for (const Row& row : rows) {
        std::vector<Expected> got;
        const LineIndex lines(row.document, LineEnds::line_feed);
        const std::vector<Problem> problems = find_problems(row.document, OPTIONS);
        for (const Problem& p : problems) {
            const TextPosition at = lines.position(row.document, p.span.begin, Unit::code_point);
            got.push_back({static_cast<Shown>((p.severity == Severity::error ? 0 : 1) + (p.after_first_error ? 2 : 0)),
                           at.line + 1, at.character + 1, p.text, p.notes});
        }
        EXPECT_EQ(got, row.expected) << row.name;
        if (!problems.empty()) {
            const Span at = problems.front().span;
            ASSERT_GE(at.end, at.begin) << row.name;
            EXPECT_EQ(row.document.substr(at.begin, at.end - at.begin), row.marks) << row.name;
        }
        const std::string fixed = replaced(row.document, row.fixed);
        EXPECT_EQ(fix_document(row.document, {.unsafe = false, .check = OPTIONS}).document, fixed) << row.name;
        EXPECT_EQ(fix_document(row.document, {.unsafe = true, .check = OPTIONS}).document,
                  replaced(fixed, row.suggested))
            << row.name;
    }
    for (int k = 0; k <= static_cast<int>(Mistake::unexpected); ++k) {
        const Mistake kind = static_cast<Mistake>(k);
        const auto row =
            std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.name == row_showing(kind); });
        ASSERT_NE(row, rows.end()) << row_showing(kind);
        const std::vector<Diagnosis> mistakes = diagnose_draft(row->document);
        EXPECT_TRUE(std::any_of(mistakes.begin(), mistakes.end(), [&](const Diagnosis& d) {
            return d.mistake == kind;
        })) << row->name;
    }
}

// The reader's position stays the byte offset; only the place shown moves.
TEST(LintNotes, LineEndKeepsTheReadersOffset) {
    const std::string document = "{\"schema\": 1,\r\n";
    const Problem problem = find_problems(document).at(0);
    EXPECT_EQ(problem.offset, document.size());
    EXPECT_EQ(problem.span.begin, document.size() - 2);
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

// The whole draft decoded for the "convert" action and the recoding fix, exactly when one code
// page, and only one, reads as Russian text what is not UTF-8 in it.
TEST(LintNotes, DecodesDraftsOfOneCodePage) {
    using Decoded = std::optional<std::pair<CodePage, std::string>>;
    constexpr CodePage CP1251 = CodePage::windows_1251;
    const std::vector<std::pair<std::string, Decoded>> rows = {
        {"{\"title\":\"\xCF\xF0\xE8\xE2\xE5\xF2\",\"body\":\"\xCC\xE8\xF0\"}\r\n",
         {{CP1251, "{\"title\":\"Привет\",\"body\":\"Мир\"}\r\n"}}},
        // Russian typography, and a letter pair that happens to be a valid UTF-8 sequence (Т ё).
        {"\"\xAB\xD2\xB8\xEC\xED\xE0\xFF\xBB \xB9 2 \x97 \xEE\xEA\"", {{CP1251, "\"«Тёмная» № 2 — ок\""}}},
        {"\"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\"", std::nullopt},  // UTF-8 already
        // A letter of an escape is no Latin word.
        {"\"\\n\xCC\xE8\xF0\"", {{CP1251, "\"\\nМир\""}}},
        {"\"caf\xE9\"", std::nullopt},   // Latin-1
        {"\"\xE0\x98\"", std::nullopt},  // a byte no code page reads as a letter or a sign
        {"\"\x97\"", std::nullopt},      // no letter
        {"{}", std::nullopt},
        // Each code page the same text was saved in, and only that one reads it: KOI8-R read in
        // Windows-1251 crosses the cases («рТПДМЙФЕ»), Mac Cyrillic's capitals are other letters there.
        {"\"\xF0\xD2\xCF\xC4\xCC\xC9\xD4\xC5 \xCC\xC9\xC3\xC5\xCE\xDA\xC9\xC0\"",
         {{CodePage::koi8_r, "\"Продлите лицензию\""}}},
        {"\"\x8F\xF0\xEE\xE4\xEB\xE8\xF2\xE5 \xEB\xE8\xF6\xE5\xED\xE7\xE8\xFE\"",
         {{CodePage::mac_cyrillic, "\"Продлите лицензию\""}}},
        {"\"\x8F\xE0\xAE\xA4\xAB\xA8\xE2\xA5 \xAB\xA8\xE6\xA5\xAD\xA7\xA8\xEE\"",
         {{CodePage::cp866, "\"Продлите лицензию\""}}},
        {"\"\xCF\xF0\xEE\xE4\xEB\xE8\xF2\xE5 \xEB\xE8\xF6\xE5\xED\xE7\xE8\xFE\"", {{CP1251, "\"Продлите лицензию\""}}},
        // Small letters alone read the same in Windows-1251 and Mac Cyrillic: no certain one.
        {"\"\xEC\xE8\xF0\"", std::nullopt},
        // A UTF-8 title and a Windows-1251 body: the UTF-8 letters are kept.
        {"{\"title\":\"\xD0\xA2\xD1\x91\xD0\xBC\xD0\xBD\xD0\xB0\xD1\x8F \xD1\x82\xD0\xB5\xD0\xBC\xD0\xB0\",\"body\":"
         "\"\xCF\xF0\xEE\xE4\xEB\xE8\xF2\xE5\"}",
         {{CP1251, "{\"title\":\"Тёмная тема\",\"body\":\"Продлите\"}"}}},
        {"\"\xD0\xB0 \xEC\xE8\xF0\"", std::nullopt},  // one UTF-8 letter is no word: «Р° мир» is no Russian
        // UTF-16 by its byte-order mark, either way round; a lone surrogate is no UTF-16.
        {std::string("\xFF\xFE{\0\x1F\x04}\0", 8), {{CodePage::utf_16, "{П}"}}},
        {std::string("\xFE\xFF\0{\x04\x1F\0}", 8), {{CodePage::utf_16, "{П}"}}},
        {std::string("\xFF\xFE\x00\xD8{\0", 6), std::nullopt},
    };
    for (const auto& [bytes, decoded] : rows) {
        const auto got = certain_recoding(bytes);
        const Decoded pair = got ? Decoded{{got->page, got->text}} : std::nullopt;
        EXPECT_EQ(pair, decoded) << bytes;
    }
}

// Where a byte is on its lines, in each unit and with each kind of line end: what the reports,
// the language server and the page count from. The long lines cross the index's anchors.
TEST(LintLines, PositionsInEachUnitAndLineEnd) {
    struct Row {
        std::string text;
        std::size_t offset;
        TextPosition line_feed;   // code points
        TextPosition any;         // code points
        std::size_t utf16, utf8;  // on the line of `any`
        bool round_trip;          // offset() gives `offset` back (a character's start)
    };
    const std::string long_line = std::string(1000, 'a') + [] {
        std::string letters;
        for (int i = 0; i < 500; ++i) letters += "ё";
        return letters;
    }() + "b";
    const std::vector<Row> rows = {
        {"ab\ncd", 4, {1, 1}, {1, 1}, 1, 1, true},
        {"a\r\nb", 2, {0, 2}, {0, 2}, 2, 2, false},  // the line feed of CR LF
        {"a\r\nb", 3, {1, 0}, {1, 0}, 0, 0, true},
        {"a\rb", 2, {0, 2}, {1, 0}, 0, 0, true},  // a lone carriage return ends a line for editors
        {"a\r", 2, {0, 2}, {1, 0}, 0, 0, true},
        {"я😀x", 6, {0, 2}, {0, 2}, 3, 6, true},
        {"я😀x", 3, {0, 1}, {0, 1}, 1, 2, false},  // inside the emoji: its start
        {"\xff"
         "a",
         1,
         {0, 1},
         {0, 1},
         1,
         1,
         true},  // a byte that begins no character counts one
        {"ab", 9, {0, 2}, {0, 2}, 2, 2, false},
        {long_line, 2000, {0, 1500}, {0, 1500}, 1500, 2000, true},
        {"x\n" + long_line, 2002, {1, 1500}, {1, 1500}, 1500, 2000, true},
        {"x\n" + long_line, 1501, {1, 1249}, {1, 1249}, 1249, 1498, false},  // inside an ё
        {std::string(600, 'a') + "\nbb", 603, {1, 2}, {1, 2}, 2, 2, true},
    };
    for (const Row& row : rows) {
        const LineIndex reader(row.text, LineEnds::line_feed), editor(row.text, LineEnds::any);
        EXPECT_EQ(reader.position(row.text, row.offset, Unit::code_point), row.line_feed) << row.offset;
        EXPECT_EQ(editor.position(row.text, row.offset, Unit::code_point), row.any) << row.offset;
        EXPECT_EQ(editor.position(row.text, row.offset, Unit::utf16), (TextPosition{row.any.line, row.utf16}));
        EXPECT_EQ(editor.position(row.text, row.offset, Unit::utf8), (TextPosition{row.any.line, row.utf8}));
        if (!row.round_trip) continue;
        for (const Unit unit : {Unit::code_point, Unit::utf16, Unit::utf8})
            EXPECT_EQ(editor.offset(row.text, editor.position(row.text, row.offset, unit), unit), row.offset)
                << row.offset;
    }
    // A character past its line's end stands for the end before the line end; a line past the
    // last for the end of the text.
    const std::string text = "ab\r\ncd";
    const LineIndex editor(text, LineEnds::any), reader(text, LineEnds::line_feed);
    EXPECT_EQ(editor.offset(text, {0, 9}, Unit::utf16), 2u);
    EXPECT_EQ(reader.offset(text, {0, 9}, Unit::utf16), 3u);  // the carriage return is the line's
    EXPECT_EQ(editor.offset(text, {5, 0}, Unit::utf16), text.size());
}

}  // namespace
}  // namespace mt::lint
