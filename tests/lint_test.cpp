// messages-lint over a table of documents written to a scratch directory: the exact report in
// the human, json and github formats, what goes to standard error and the exit status; then
// the summary, colour, the argument walk and standard input. The run is called in process, as
// main calls it, except for standard input, which the built program reads.
#include "messages-lint/lint.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "support/run_program.h"

namespace mt::lint {
namespace {

namespace fs = std::filesystem;

const std::string BOM_NOTE =
    "файл начинается с метки порядка байтов (BOM, байты EF BB BF): сохраните его в UTF-8 без BOM (TextEdit: "
    "Формат → Сделать простым текстом, затем Файл → Сохранить, кодировка «Юникод (UTF-8)»; VS Code: «UTF-8 with "
    "BOM» в строке состояния → «Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», кодировка «UTF-8»)";

std::string repeat(std::string_view unit, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += unit;
    return out;
}

std::string message(std::string_view id, int priority = 1, std::string_view title = "Заголовок",
                    std::string_view body = "Текст", int start_at = 1, int end_at = 2, std::string_view more = "") {
    return R"({"id": ")" + std::string(id) + R"(", "priority": )" + std::to_string(priority) + R"(, "title": ")" +
           std::string(title) + R"(", "body": ")" + std::string(body) + R"(", "start_at": )" +
           std::to_string(start_at) + R"(, "end_at": )" + std::to_string(end_at) + std::string(more) + "}";
}

std::string fifty_one_messages() {
    std::string out = "{\"schema\": 1, \"revision\": 1, \"messages\": [\n";
    for (int i = 0; i < 51; ++i)
        out += R"({"id": "m)" + std::to_string(i) +
               R"(", "priority": 1, "title": "t", "body": "b", "start_at": 1, "end_at": 2})" +
               (i < 50 ? ",\n" : "\n]}\n");
    return out;
}

std::string replace_all(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

Outcome lint(std::vector<std::string> args, const Environment& environment = {}) {
    std::vector<const char*> argv = {"messages-lint"};
    for (const auto& arg : args) argv.push_back(arg.c_str());
    return run(argv, environment);
}

fs::path scratch() {
    const fs::path dir = fs::path(::testing::TempDir()) / "lint_test";
    fs::create_directories(dir);
    return dir;
}

std::string put(const std::string& name, const std::string& content) {
    const fs::path path = scratch() / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

struct Row {
    const char* name;
    std::optional<std::string> document;  // none: no such file
    int status;
    // The reports; "{F}" stands for the path, "{BOM}" for the byte-order-mark note, "{U+FEFF}"
    // for that character.
    std::string human, json, github;
};

TEST(Lint, ReportsEveryProblemInEachFormat) {
    const std::string head = "{\"schema\": 1, \"revision\": 1, \"messages\": [\n";
    // A message whose last line is the row's own.
    const std::string tail = head + "  {\"id\": \"a\", \"body\": \"b\", \"start_at\": 1, \"end_at\": 2,\n";
    const std::string LINE_END_HUMAN = R"x({F}:3:30: messages: priority 5 вне 0..=2 (id "a")
 3 |    "title": "t", "priority": 5}
   |                              ^
{F}: 1 проблема
)x";
    const std::string CP1251_NOTE =
        "файл не в UTF-8: похоже, он сохранён в кодировке Windows-1251 (в ней эти байты читаются как «Привет, мир»); "
        "откройте его в этой кодировке и сохраните в UTF-8 (TextEdit: Файл → Открыть, в «Параметрах» кодировка "
        "«Кириллица (Windows)», затем Файл → Сохранить, кодировка «Юникод (UTF-8)»; VS Code: кодировка в строке "
        "состояния → «Reopen with Encoding» → «Cyrillic (Windows 1251)», затем «Save with Encoding» → «UTF-8»; "
        "Блокнот: «Сохранить как», кодировка «UTF-8»)";
    const std::vector<Row> rows = {
        // A warning names the message it is about by its index, as errors do.
        {"a warning in the second message",
         head + R"x(  {"id": "a", "priority": 1, "title": "t", "body": "b", "start_at": 1, "end_at": 2},
  {"id": "b", "priority": 1, "title": "t", "body": "b", "start_at": 1, "end_at": 1774000000000}
]}
)x",
         0,
         R"x({F}:3:82: предупреждение: end_at 1774000000000 похоже на миллисекунды, а не секунды (id "b")
 3 | …itle": "t", "body": "b", "start_at": 1, "end_at": 1774000000000}
   |                                                    ^^^^^^^^^^^^^
   = примечание: в секундах Unix это дальше 5138 года, в миллисекундах — 2026-03-20 09:46:40 UTC, то есть 1774000000 в секундах (приложение само не приписывает полям времени единиц: это догадка)
   = предложение: разделить на 1000 (миллисекунды в секунды): 1774000000
{F}: проблем нет, 1 предупреждение
)x",
         R"x({"file":"{F}","line":3,"column":82,"byte_offset":209,"start_byte_offset":209,"end_byte_offset":222,"end_line":3,"end_column":95,"rule":"milliseconds","severity":"warning","message_index":1,"id":"b","text":"end_at 1774000000000 похоже на миллисекунды, а не секунды (id \"b\")","notes":["в секундах Unix это дальше 5138 года, в миллисекундах — 2026-03-20 09:46:40 UTC, то есть 1774000000 в секундах (приложение само не приписывает полям времени единиц: это догадка)"],"fix":{"title":"разделить на 1000 (миллисекунды в секунды): 1774000000","safe":false,"edits":[{"begin":209,"end":222,"replacement":"1774000000"}]}}
)x",
         R"x(::warning file={F},line=3,col=82,endLine=3,endColumn=94::end_at 1774000000000 похоже на миллисекунды, а не секунды (id "b")%0Aпримечание: в секундах Unix это дальше 5138 года, в миллисекундах — 2026-03-20 09:46:40 UTC, то есть 1774000000 в секундах (приложение само не приписывает полям времени единиц: это догадка)%0Aпредложение: разделить на 1000 (миллисекунды в секунды): 1774000000
)x"},
        {"cyrillic", head + R"x(  {"id": "a", "priority": 1, "title": "Привет, мир" "body": "b"}
]}
)x",
         1,
         R"x({F}:2:52: messages: JSON ленты не разбирается: expected `,` or `}` at line 2 column 62
 2 | … {"id": "a", "priority": 1, "title": "Привет, мир" "body": "b"}
   |                                                    ^
   = примечание: не хватает запятой: пары «ключ: значение» объекта разделяются запятыми; поставьте `,` здесь, после предыдущего значения
   = исправление: вставить пропущенную запятую
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":2,"column":52,"byte_offset":104,"start_byte_offset":103,"end_byte_offset":104,"end_line":2,"end_column":53,"rule":"json","severity":"error","text":"messages: JSON ленты не разбирается: expected `,` or `}` at line 2 column 62","notes":["не хватает запятой: пары «ключ: значение» объекта разделяются запятыми; поставьте `,` здесь, после предыдущего значения"],"fix":{"title":"вставить пропущенную запятую","safe":true,"edits":[{"begin":103,"end":103,"replacement":","}]}}
)x",
         R"x(::error file={F},line=2,col=52::messages: JSON ленты не разбирается: expected `,` or `}` at line 2 column 62%0Aпримечание: не хватает запятой: пары «ключ: значение» объекта разделяются запятыми; поставьте `,` здесь, после предыдущего значения%0Aисправление: вставить пропущенную запятую
)x"},
        {"empty", "", 1,
         R"x({F}:1:1: messages: JSON ленты не разбирается: EOF while parsing a value at line 1 column 0
 1 | 
   | ^
   = примечание: файл пуст: лента — это объект {"schema": 1, "revision": …, "messages": […]}
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":1,"column":1,"byte_offset":0,"start_byte_offset":0,"end_byte_offset":0,"end_line":1,"end_column":1,"rule":"json","severity":"error","text":"messages: JSON ленты не разбирается: EOF while parsing a value at line 1 column 0","notes":["файл пуст: лента — это объект {\"schema\": 1, \"revision\": …, \"messages\": […]}"]}
)x",
         R"x(::error file={F},line=1,col=1::messages: JSON ленты не разбирается: EOF while parsing a value at line 1 column 0%0Aпримечание: файл пуст: лента — это объект {"schema": 1, "revision": …, "messages": […]}
)x"},
        // Bytes that are not UTF-8 are shown as escapes of six cells; the window after the caret
        // ends at its fiftieth cell.
        {"windows-1251", head + "  {\"id\": \"\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0\"}]}\n", 1,
         R"x({F}:2:11: messages: JSON ленты не разбирается: invalid unicode code point at line 2 column 22
 2 |   {"id": "\x{cf}\x{f0}\x{e8}\x{e2}\x{e5}\x{f2}, \x{ec}\x{e8}\x{f0}…
   |           ^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^
   = примечание: )x" +
             CP1251_NOTE + "\n   = исправление: перекодировать файл из Windows-1251 в UTF-8\n{F}: 1 проблема\n",
         R"x({"file":"{F}","line":2,"column":11,"byte_offset":64,"start_byte_offset":53,"end_byte_offset":64,"end_line":2,"end_column":22,"rule":"json","severity":"error","text":"messages: JSON ленты не разбирается: invalid unicode code point at line 2 column 22","notes":[")x" +
             CP1251_NOTE +
             R"x("],"fix":{"title":"перекодировать файл из Windows-1251 в UTF-8","safe":true,"edits":[{"begin":53,"end":59,"replacement":"Привет"},{"begin":61,"end":64,"replacement":"мир"}]}}
)x",
         "::error file={F},line=2,col=11,endLine=2,endColumn=21::messages: JSON ленты не разбирается: invalid "
         "unicode "
         "code point at line 2 column 22%0Aпримечание: " +
             CP1251_NOTE + "%0Aисправление: перекодировать файл из Windows-1251 в UTF-8\n"},
        {"bom", std::string("\xEF\xBB\xBF") + R"x({"schema": 1, "revision": 1}
)x",
         1,
         R"x({F}:1:1: messages: JSON ленты не разбирается: expected value at line 1 column 1
 1 | {U+FEFF}{"schema": 1, "revision": 1}
   | ^
   = примечание: {BOM}
   = исправление: удалить метку порядка байтов (BOM)
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":1,"column":1,"byte_offset":0,"start_byte_offset":0,"end_byte_offset":3,"end_line":1,"end_column":2,"rule":"json","severity":"error","text":"messages: JSON ленты не разбирается: expected value at line 1 column 1","notes":["{BOM}"],"fix":{"title":"удалить метку порядка байтов (BOM)","safe":true,"edits":[{"begin":0,"end":3,"replacement":""}]}}
)x",
         R"x(::error file={F},line=1,col=1::messages: JSON ленты не разбирается: expected value at line 1 column 1%0Aпримечание: {BOM}%0Aисправление: удалить метку порядка байтов (BOM)
)x"},
        {"broken",
         head + "  " + message("first", 3, "Заголовок", "Текст", 5, 5) + ",\n  " +
             message("second", 1, repeat("Я", 81), "a\\tb", 1, 2,
                     R"x(, "minVersion": "1.10.0", "maxVersion": "1.9.0")x") +
             "\n]}\n",
         1,
         R"x({F}:2:31: messages: priority 3 вне 0..=2 (id "first")
 2 |   {"id": "first", "priority": 3, "title": "Заголовок", "body": "Текст", "start_at…
   |                               ^
{F}:2:98: messages: end_at <= start_at (id "first")
 2 | …ловок", "body": "Текст", "start_at": 5, "end_at": 5},
   |                                                    ^
{F}:3:44: messages: title длиннее 80 символов (id "second")
 3 |   {"id": "second", "priority": 1, "title": "ЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯ…
   |                                            ^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^
   = примечание: в title 81 символ, допустимо не больше 80
{F}:3:137: messages: управляющие символы в title/body (id "second")
 3 | …ЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯ", "body": "a\tb", "start_at": 1, "end_at": 2, "minVersion": "…
   |                                                    ^^^^^^
   = примечание: в body управляющий символ U+0009
{F}:3:187: messages: minVersion 1.10.0 > maxVersion 1.9.0 (id "second")
 3 | …"a\tb", "start_at": 1, "end_at": 2, "minVersion": "1.10.0", "maxVersion": "1.9.0"}
   |                                                    ^^^^^^^^
{F}: 5 проблем
)x",
         R"x({"file":"{F}","line":2,"column":31,"byte_offset":73,"start_byte_offset":73,"end_byte_offset":74,"end_line":2,"end_column":32,"rule":"priority","severity":"error","message_index":0,"id":"first","text":"messages: priority 3 вне 0..=2 (id \"first\")","notes":[]}
{"file":"{F}","line":2,"column":98,"byte_offset":154,"start_byte_offset":154,"end_byte_offset":155,"end_line":2,"end_column":99,"rule":"time-window","severity":"error","message_index":0,"id":"first","text":"messages: end_at <= start_at (id \"first\")","notes":[]}
{"file":"{F}","line":3,"column":44,"byte_offset":201,"start_byte_offset":201,"end_byte_offset":365,"end_line":3,"end_column":127,"rule":"title-length","severity":"error","message_index":1,"id":"second","text":"messages: title длиннее 80 символов (id \"second\")","notes":["в title 81 символ, допустимо не больше 80"]}
{"file":"{F}","line":3,"column":137,"byte_offset":375,"start_byte_offset":375,"end_byte_offset":381,"end_line":3,"end_column":143,"rule":"control-character","severity":"error","message_index":1,"id":"second","text":"messages: управляющие символы в title/body (id \"second\")","notes":["в body управляющий символ U+0009"]}
{"file":"{F}","line":3,"column":187,"byte_offset":425,"start_byte_offset":425,"end_byte_offset":433,"end_line":3,"end_column":195,"rule":"version-order","severity":"error","message_index":1,"id":"second","text":"messages: minVersion 1.10.0 > maxVersion 1.9.0 (id \"second\")","notes":[]}
)x",
         R"x(::error file={F},line=2,col=31::messages: priority 3 вне 0..=2 (id "first")
::error file={F},line=2,col=98::messages: end_at <= start_at (id "first")
::error file={F},line=3,col=44,endLine=3,endColumn=126::messages: title длиннее 80 символов (id "second")%0Aпримечание: в title 81 символ, допустимо не больше 80
::error file={F},line=3,col=137,endLine=3,endColumn=142::messages: управляющие символы в title/body (id "second")%0Aпримечание: в body управляющий символ U+0009
::error file={F},line=3,col=187,endLine=3,endColumn=194::messages: minVersion 1.10.0 > maxVersion 1.9.0 (id "second")
)x"},
        {"feed-rules",
         R"x({"schema": 2, "revision": 0, "messages": [)x" + message("bad id", 1, "t", "b", 1, 2) + "]}\n", 1,
         R"x({F}:1:12: messages: неизвестная schema 2
 1 | {"schema": 2, "revision": 0, "messages": [{"id": "bad id", "pr…
   |            ^
{F}:1:27: messages: revision обязателен и должен быть >= 1 — отклонена
 1 | {"schema": 2, "revision": 0, "messages": [{"id": "bad id", "priority": 1, "ti…
   |                           ^
{F}:1:50: messages: недопустимый id "bad id" (ASCII [A-Za-z0-9_-], 1..=64)
 1 | {"schema": 2, "revision": 0, "messages": [{"id": "bad id", "priority": 1, "title": "t", "body": "b",…
   |                                                  ^^^^^^^^
{F}: 3 проблемы
)x",
         R"x({"file":"{F}","line":1,"column":12,"byte_offset":11,"start_byte_offset":11,"end_byte_offset":12,"end_line":1,"end_column":13,"rule":"schema","severity":"error","text":"messages: неизвестная schema 2","notes":[]}
{"file":"{F}","line":1,"column":27,"byte_offset":26,"start_byte_offset":26,"end_byte_offset":27,"end_line":1,"end_column":28,"rule":"revision","severity":"error","text":"messages: revision обязателен и должен быть >= 1 — отклонена","notes":[]}
{"file":"{F}","line":1,"column":50,"byte_offset":49,"start_byte_offset":49,"end_byte_offset":57,"end_line":1,"end_column":58,"rule":"id","severity":"error","message_index":0,"id":"bad id","text":"messages: недопустимый id \"bad id\" (ASCII [A-Za-z0-9_-], 1..=64)","notes":[]}
)x",
         R"x(::error file={F},line=1,col=12::messages: неизвестная schema 2
::error file={F},line=1,col=27::messages: revision обязателен и должен быть >= 1 — отклонена
::error file={F},line=1,col=50,endLine=1,endColumn=57::messages: недопустимый id "bad id" (ASCII [A-Za-z0-9_-], 1..=64)
)x"},
        {"duplicate",
         head + "  " + message("promo") + ",\n  " + message("other") + ",\n  " + message("promo") + "\n]}\n", 1,
         R"x({F}:4:10: messages: дубликат id "promo"
 4 |   {"id": "promo", "priority": 1, "title": "Заголовок", "body…
   |          ^^^^^^^
   = примечание: этот id уже есть у сообщения на строке 2
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":4,"column":10,"byte_offset":282,"start_byte_offset":282,"end_byte_offset":289,"end_line":4,"end_column":17,"rule":"duplicate-id","severity":"error","message_index":2,"id":"promo","text":"messages: дубликат id \"promo\"","notes":["этот id уже есть у сообщения на строке 2"]}
)x",
         R"x(::error file={F},line=4,col=10,endLine=4,endColumn=16::messages: дубликат id "promo"%0Aпримечание: этот id уже есть у сообщения на строке 2
)x"},
        {"count", fifty_one_messages(), 1,
         R"x({F}:52:1: messages: 51 сообщений больше 50 — отклонена целиком
 52 | {"id": "m50", "priority": 1, "title": "t", "body": …
    | ^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":52,"column":1,"byte_offset":4283,"start_byte_offset":4283,"end_byte_offset":4366,"end_line":52,"end_column":84,"rule":"count","severity":"error","message_index":50,"id":"m50","text":"messages: 51 сообщений больше 50 — отклонена целиком","notes":[]}
)x",
         R"x(::error file={F},line=52,col=1,endLine=52,endColumn=83::messages: 51 сообщений больше 50 — отклонена целиком
)x"},
        {"oversize", R"x({"schema": 1, "revision": 1})x" + std::string(65600, ' '), 1,
         R"x({F}:1:65537: {F} — 65537 байт больше 64 КиБ, отклонено до парсинга
 1 | …                                                   
   |                                                    ^
   = примечание: в файле 65628 байт, допустимо не больше 65536: сократите его на 92 байта
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":1,"column":65537,"byte_offset":65536,"start_byte_offset":65536,"end_byte_offset":65537,"end_line":1,"end_column":65538,"rule":"size","severity":"error","text":"{F} — 65537 байт больше 64 КиБ, отклонено до парсинга","notes":["в файле 65628 байт, допустимо не больше 65536: сократите его на 92 байта"]}
)x",
         R"x(::error file={F},line=1,col=65537::{F} — 65537 байт больше 64 КиБ, отклонено до парсинга%0Aпримечание: в файле 65628 байт, допустимо не больше 65536: сократите его на 92 байта
)x"},
        // The cap falls inside a character, and the window's start inside another.
        {"oversize-cyrillic", R"x({"schema": 1, "revision": 1} )x" + repeat("Я", 32800), 1,
         "{F}:1:32783: {F} — 65537 байт больше 64 КиБ, отклонено до парсинга\n 1 | …" + repeat("Я", 51) + "\n   |  " +
             std::string(50, ' ') +
             "^\n   = примечание: в файле 65629 байт, допустимо не больше 65536: сократите его на 93 "
             "байта\n{F}: 1 "
             "проблема\n",
         R"x({"file":"{F}","line":1,"column":32783,"byte_offset":65536,"start_byte_offset":65535,"end_byte_offset":65537,"end_line":1,"end_column":32784,"rule":"size","severity":"error","text":"{F} — 65537 байт больше 64 КиБ, отклонено до парсинга","notes":["в файле 65629 байт, допустимо не больше 65536: сократите его на 93 байта"]}
)x",
         R"x(::error file={F},line=1,col=32783::{F} — 65537 байт больше 64 КиБ, отклонено до парсинга%0Aпримечание: в файле 65629 байт, допустимо не больше 65536: сократите его на 93 байта
)x"},
        // The cap falls on the second byte of a three-byte character that the read cuts short:
        // the column is the character's, and the span starts at its lead byte.
        {"oversize-dash", R"x({"schema": 1, "revision": 1}  )x" + repeat("—", 21900), 1,
         "{F}:1:21866: {F} — 65537 байт больше 64 КиБ, отклонено до парсинга\n 1 | …" + repeat("—", 50) +
             "\\x{e2}\\x{80}\n   |  " + std::string(50, ' ') +
             "^^^^^^^^^^^^\n   = примечание: в файле 65730 байт, допустимо не больше 65536: сократите его на 194 "
             "байта\n{F}: 1 проблема\n",
         R"x({"file":"{F}","line":1,"column":21866,"byte_offset":65536,"start_byte_offset":65535,"end_byte_offset":65537,"end_line":1,"end_column":21868,"rule":"size","severity":"error","text":"{F} — 65537 байт больше 64 КиБ, отклонено до парсинга","notes":["в файле 65730 байт, допустимо не больше 65536: сократите его на 194 байта"]}
)x",
         R"x(::error file={F},line=1,col=21866,endLine=1,endColumn=21867::{F} — 65537 байт больше 64 КиБ, отклонено до парсинга%0Aпримечание: в файле 65730 байт, допустимо не больше 65536: сократите его на 194 байта
)x"},
        // The window's start falls on the second byte of a four-byte character: its three
        // continuation bytes are passed over, and the stray one after it is shown. One accented
        // letter of 100 combining accents keeps the 208 bytes before the cap within 50 cells.
        {"oversize-window-start",
         R"x({"schema": 1, "revision": 1})x" + std::string(65299, ' ') + "\U0001F600\x80" + "е" +
             repeat("\u0301", 100) + "ab" + std::string(64, ' '),
         1,
         "{F}:1:65433: {F} — 65537 байт больше 64 КиБ, отклонено до парсинга\n 1 | …\\x{80}е" + repeat("\u0301", 100) +
             "ab \n   |  " + std::string(9, ' ') +
             "^\n   = примечание: в файле 65600 байт, допустимо не больше 65536: сократите его на 64 "
             "байта\n{F}: 1 проблема\n",
         R"x({"file":"{F}","line":1,"column":65433,"byte_offset":65536,"start_byte_offset":65536,"end_byte_offset":65537,"end_line":1,"end_column":65434,"rule":"size","severity":"error","text":"{F} — 65537 байт больше 64 КиБ, отклонено до парсинга","notes":["в файле 65600 байт, допустимо не больше 65536: сократите его на 64 байта"]}
)x",
         R"x(::error file={F},line=1,col=65433::{F} — 65537 байт больше 64 КиБ, отклонено до парсинга%0Aпримечание: в файле 65600 байт, допустимо не больше 65536: сократите его на 64 байта
)x"},
        {"at-the-limit", R"x({"schema": 1, "revision": 1})x" + std::string(65536 - 28, ' '), 0, "{F}: проблем нет\n",
         "", ""},
        {"key", R"x({"schema": 1, "revision": 1, "messages": [{"id": "a", "priority": 1, "tittle": "t"}]}
)x",
         1,
         R"x({F}:1:70: messages: JSON ленты не разбирается: unknown field `tittle`, expected one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, `cta`, `minVersion`, `maxVersion` at line 1 column 77
 1 | …sion": 1, "messages": [{"id": "a", "priority": 1, "tittle": "t"}]}
   |                                                    ^^^^^^^^
   = примечание: возможно, имелось в виду `title`
   = предложение: заменить `tittle` на `title`
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":1,"column":70,"byte_offset":76,"start_byte_offset":69,"end_byte_offset":77,"end_line":1,"end_column":78,"rule":"json","severity":"error","text":"messages: JSON ленты не разбирается: unknown field `tittle`, expected one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, `cta`, `minVersion`, `maxVersion` at line 1 column 77","notes":["возможно, имелось в виду `title`"],"fix":{"title":"заменить `tittle` на `title`","safe":false,"edits":[{"begin":69,"end":77,"replacement":"\"title\""}]}}
)x",
         R"x(::error file={F},line=1,col=70,endLine=1,endColumn=77::messages: JSON ленты не разбирается: unknown field `tittle`, expected one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, `cta`, `minVersion`, `maxVersion` at line 1 column 77%0Aпримечание: возможно, имелось в виду `title`%0Aпредложение: заменить `tittle` на `title`
)x"},
        {"valid", R"x({"schema": 1, "revision": 1, "messages": [)x" + message("a") + "]}\n", 0,
         R"x({F}: проблем нет
)x",
         "", ""},
        {"unreadable", std::nullopt, 2, "",
         R"x({"file":"{F}","rule":"read","severity":"error","text":"не читаю {F}: нет такого файла или папки (ошибка ОС 2)","notes":[]}
)x",
         R"x(::error file={F}::не читаю {F}: нет такого файла или папки (ошибка ОС 2)
)x"},
        // The caret counts terminal cells: two for wide characters, emoji with U+FE0F and a
        // joined emoji sequence, none for a combining accent; the excerpt holds them as they are.
        {"wide", tail + R"x(   "title": "中文 🎉 ❤️ 👨‍👩‍👧 е́", "priority": 5}
]}
)x",
         1,
         R"x({F}:3:45: messages: priority 5 вне 0..=2 (id "a")
 3 |    "title": "中文 🎉 ❤️ 👨‍👩‍👧 е́", "priority": 5}
   |                                            ^
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":3,"column":45,"byte_offset":168,"start_byte_offset":168,"end_byte_offset":169,"end_line":3,"end_column":46,"rule":"priority","severity":"error","message_index":0,"id":"a","text":"messages: priority 5 вне 0..=2 (id \"a\")","notes":[]}
)x",
         R"x(::error file={F},line=3,col=45::messages: priority 5 вне 0..=2 (id "a")
)x"},
        // The window before the caret is 50 cells: 17 wide characters and 15 narrow ones.
        {"wide-window", tail + "   \"title\": \"" + repeat("中", 30) + R"x(", "priority": 5}
]}
)x",
         1,
         "{F}:3:59: messages: priority 5 вне 0..=2 (id \"a\")\n 3 | …" + repeat("中", 17) +
             "\", \"priority\": 5}\n   |  " + std::string(49, ' ') + "^\n{F}: 1 проблема\n",
         R"x({"file":"{F}","line":3,"column":59,"byte_offset":216,"start_byte_offset":216,"end_byte_offset":217,"end_line":3,"end_column":60,"rule":"priority","severity":"error","message_index":0,"id":"a","text":"messages: priority 5 вне 0..=2 (id \"a\")","notes":[]}
)x",
         R"x(::error file={F},line=3,col=59::messages: priority 5 вне 0..=2 (id "a")
)x"},
        // Line feeds and CR LF give the same report but for the byte offset; a lone carriage
        // return inside a line is shown escaped and moves the caret by the cells it takes.
        {"lf", tail + "   \"title\": \"t\", \"priority\": 5}\n]}\n", 1, LINE_END_HUMAN,
         R"x({"file":"{F}","line":3,"column":30,"byte_offset":127,"start_byte_offset":127,"end_byte_offset":128,"end_line":3,"end_column":31,"rule":"priority","severity":"error","message_index":0,"id":"a","text":"messages: priority 5 вне 0..=2 (id \"a\")","notes":[]}
)x",
         R"x(::error file={F},line=3,col=30::messages: priority 5 вне 0..=2 (id "a")
)x"},
        {"crlf", replace_all(tail + "   \"title\": \"t\", \"priority\": 5}\n]}\n", "\n", "\r\n"), 1, LINE_END_HUMAN,
         R"x({"file":"{F}","line":3,"column":30,"byte_offset":129,"start_byte_offset":129,"end_byte_offset":130,"end_line":3,"end_column":31,"rule":"priority","severity":"error","message_index":0,"id":"a","text":"messages: priority 5 вне 0..=2 (id \"a\")","notes":[]}
)x",
         R"x(::error file={F},line=3,col=30::messages: priority 5 вне 0..=2 (id "a")
)x"},
        {"lone-cr", tail + "   \"title\": \"t\",\r \"priority\": 5}\n]}\n", 1,
         R"x({F}:3:31: messages: priority 5 вне 0..=2 (id "a")
 3 |    "title": "t",\r "priority": 5}
   |                                ^
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":3,"column":31,"byte_offset":128,"start_byte_offset":128,"end_byte_offset":129,"end_line":3,"end_column":32,"rule":"priority","severity":"error","message_index":0,"id":"a","text":"messages: priority 5 вне 0..=2 (id \"a\")","notes":[]}
)x",
         R"x(::error file={F},line=3,col=31::messages: priority 5 вне 0..=2 (id "a")
)x"},
        // A tab is shown as it is, with a tab under it, and takes one cell of the window: here the
        // 51st, so the window drops the line's first space.
        {"tab", tail + "   \"title\":\t\"" + std::string(23, 'x') + "\", \"priority\": 5}\n]}\n", 1,
         "{F}:3:52: messages: priority 5 вне 0..=2 (id \"a\")\n 3 | …  \"title\":\t\"" + std::string(23, 'x') +
             "\", \"priority\": 5}\n   |  " + std::string(10, ' ') + "\t" + std::string(39, ' ') +
             "^\n{F}: 1 проблема\n",
         R"x({"file":"{F}","line":3,"column":52,"byte_offset":149,"start_byte_offset":149,"end_byte_offset":150,"end_line":3,"end_column":53,"rule":"priority","severity":"error","message_index":0,"id":"a","text":"messages: priority 5 вне 0..=2 (id \"a\")","notes":[]}
)x",
         R"x(::error file={F},line=3,col=52::messages: priority 5 вне 0..=2 (id "a")
)x"},
        // A carriage return that ends the file ends the line.
        {"cr-at-end", "{\"schema\": 1, \"revision\": 0}\r", 1,
         R"x({F}:1:27: messages: revision обязателен и должен быть >= 1 — отклонена
 1 | {"schema": 1, "revision": 0}
   |                           ^
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":1,"column":27,"byte_offset":26,"start_byte_offset":26,"end_byte_offset":27,"end_line":1,"end_column":28,"rule":"revision","severity":"error","text":"messages: revision обязателен и должен быть >= 1 — отклонена","notes":[]}
)x",
         R"x(::error file={F},line=1,col=27::messages: revision обязателен и должен быть >= 1 — отклонена
)x"},
    };
    for (const Row& row : rows) {
        const std::string path =
            row.document ? put(std::string(row.name) + ".json", *row.document) : (scratch() / "missing.json").string();
        const std::string err =
            row.document ? "" : "[messages-lint] не читаю " + path + ": нет такого файла или папки (ошибка ОС 2)\n";
        const auto fill = [&](const std::string& text) {
            return replace_all(replace_all(replace_all(text, "{F}", path), "{BOM}", BOM_NOTE), "{U+FEFF}",
                               "\xEF\xBB\xBF");
        };
        const auto human = fill(row.human);
        EXPECT_EQ(lint({path}), (Outcome{row.status, human, err})) << row.name;
        EXPECT_EQ(lint({"--format=json", path}), (Outcome{row.status, fill(row.json), err})) << row.name;
        EXPECT_EQ(lint({"--format=github", path}), (Outcome{row.status, fill(row.github), err})) << row.name;

        // Colour changes nothing but the escape sequences around the words.
        std::string painted = lint({"--color=always", path}).out;
        for (const char* code : {"\x1b[1m", "\x1b[1;31m", "\x1b[1;33m", "\x1b[1;36m", "\x1b[0m"})
            painted = replace_all(painted, code, "");
        EXPECT_EQ(painted, human) << row.name;
    }
}

TEST(Lint, ChecksEveryFileOnItsOwn) {
    const std::string good = put("good.json", R"({"schema": 1, "revision": 1})");
    const std::string bad = put("bad.json", R"({"schema": 1, "revision": 0})");
    const std::string missing = (scratch() / "missing.json").string();
    const Outcome one_bad = lint({"--format=github", good, bad});
    EXPECT_EQ(one_bad.status, 1);
    EXPECT_EQ(one_bad.out, "::error file=" + replace_all(replace_all(bad, "%", "%25"), ",", "%2C") +
                               ",line=1,col=27::messages: revision обязателен и должен быть >= 1 — отклонена\n");
    const Outcome unreadable = lint({"--format=github", missing, bad});
    EXPECT_EQ(unreadable.status, 2);
    EXPECT_EQ(unreadable.out, "::error file=" + missing + "::не читаю " + missing +
                                  ": нет такого файла или папки (ошибка ОС 2)\n" + one_bad.out);
    const Outcome human = lint({missing, bad});
    EXPECT_EQ(human.status, 2);
    EXPECT_TRUE(human.out.ends_with(bad + ": 1 проблема\nитого: 2 файла, 2 проблемы, 0 предупреждений\n")) << human.out;
    EXPECT_EQ(lint({good}).out, good + ": проблем нет\n");
}

// A warning in each format, beside an error: its own label, command and level, and counts of
// its own in the file's line. Made by hand, so the row does not depend on which checks warn.
TEST(Lint, WarningsInEachFormat) {
    const std::string bytes = "{\"end_at\": 1774000000000}\n";
    const auto problem = [](Code code, std::size_t offset, std::size_t end, std::string text, Severity severity) {
        Problem p;
        p.code = code;
        p.offset = offset;
        p.span = {offset, end};
        p.text = std::move(text);
        p.severity = severity;
        return p;
    };
    Problem warning = problem(Code::milliseconds, 11, 24, "end_at похоже на миллисекунды", Severity::warning);
    warning.message = 0;
    warning.id = "a";
    warning.notes = {"разделите на 1000"};
    const Problem error = problem(Code::priority, 1, 1, "messages: priority", Severity::error);
    const std::vector<FileProblems> files = {{"w.json", bytes, {error, warning}, std::nullopt}};
    EXPECT_EQ(report(Format::human, files, {}), R"x(w.json:1:2: messages: priority
 1 | {"end_at": 1774000000000}
   |  ^
w.json:1:12: предупреждение: end_at похоже на миллисекунды
 1 | {"end_at": 1774000000000}
   |            ^^^^^^^^^^^^^
   = примечание: разделите на 1000
w.json: 1 проблема, 1 предупреждение
)x");
    ReportOptions painted;
    painted.color = true;
    EXPECT_TRUE(report(Format::human, files, painted).contains("\x1b[1;33mпредупреждение:\x1b[0m"));
    EXPECT_TRUE(
        report(Format::json, files, {})
            .ends_with(
                R"x({"file":"w.json","line":1,"column":12,"byte_offset":11,"start_byte_offset":11,"end_byte_offset":24,"end_line":1,"end_column":25,"rule":"milliseconds","severity":"warning","message_index":0,"id":"a","text":"end_at похоже на миллисекунды","notes":["разделите на 1000"]}
)x"));
    EXPECT_TRUE(report(Format::github, files, {})
                    .ends_with("::warning file=w.json,line=1,col=12,endLine=1,endColumn=24::end_at похоже на "
                               "миллисекунды%0Aпримечание: "
                               "разделите на 1000\n"));
    EXPECT_TRUE(
        report(Format::sarif, files, {})
            .contains(
                R"x({"ruleId":"milliseconds","ruleIndex":15,"level":"warning","message":{"text":"end_at похоже на миллисекунды\nпримечание: разделите на 1000"},)x"));
    EXPECT_TRUE(report(Format::sarif, files, {})
                    .contains(R"x("region":{"startLine":1,"startColumn":12,"endLine":1,"endColumn":25})x"));
    // Warnings alone leave a file without problems.
    const std::vector<FileProblems> only = {{"w.json", bytes, {warning}, std::nullopt}};
    EXPECT_TRUE(report(Format::human, only, {}).ends_with("w.json: проблем нет, 1 предупреждение\n"));
}

// Warnings never change the exit status; --now sets the clock an ended window is judged by, and
// --no-warnings drops them from the report and its counts.
TEST(Lint, WarningsNeverChangeTheStatus) {
    const std::string ended = put("ended.json", R"({"schema": 1, "revision": 1, "messages": [)" + message("a") + "]}");
    struct WarningRow {
        std::vector<std::string> args;
        std::string last_line;
    };
    const std::vector<WarningRow> rows = {
        {{"--now=1", ended}, ended + ": проблем нет\n"},
        {{"--now", "3", ended}, ended + ": проблем нет, 1 предупреждение\n"},
        {{"--now=3", "--no-warnings", ended}, ended + ": проблем нет\n"},
        {{"--now=3", ended, ended}, "итого: 2 файла, 0 проблем, 2 предупреждения\n"},
        {{"--now=3", "--no-warnings", ended, ended}, "итого: 2 файла, 0 проблем\n"},
    };
    for (const WarningRow& row : rows) {
        const Outcome outcome = lint(row.args);
        EXPECT_EQ(outcome.status, 0) << ::testing::PrintToString(row.args);
        EXPECT_TRUE(outcome.out.ends_with(row.last_line)) << outcome.out;
        EXPECT_EQ(outcome.out.find("предупреждение:") != std::string::npos, row.last_line.contains("предупрежд"))
            << outcome.out;
    }
}

// After more than one file a line of totals, with the Russian plural of each count.
TEST(Lint, SummaryCountsInRussian) {
    const std::string bad = put("bad.json", R"({"schema": 1, "revision": 0})");
    const std::string good = put("good.json", R"({"schema": 1, "revision": 1})");
    struct SummaryRow {
        std::size_t bad_files;
        std::size_t good_files;
        std::string totals;
    };
    const std::vector<SummaryRow> rows = {
        {1, 1, "2 файла, 1 проблема"},    {2, 0, "2 файла, 2 проблемы"},       {4, 1, "5 файлов, 4 проблемы"},
        {11, 0, "11 файлов, 11 проблем"}, {12, 0, "12 файлов, 12 проблем"},    {13, 1, "14 файлов, 13 проблем"},
        {14, 0, "14 файлов, 14 проблем"}, {21, 0, "21 файл, 21 проблема"},     {22, 0, "22 файла, 22 проблемы"},
        {0, 25, "25 файлов, 0 проблем"},  {111, 0, "111 файлов, 111 проблем"}, {101, 0, "101 файл, 101 проблема"},
    };
    for (const SummaryRow& row : rows) {
        std::vector<std::string> args(row.bad_files, bad);
        args.insert(args.end(), row.good_files, good);
        const Outcome outcome = lint(args);
        const std::string last = outcome.out.substr(outcome.out.rfind('\n', outcome.out.size() - 2) + 1);
        EXPECT_EQ(last, "итого: " + row.totals + ", 0 предупреждений\n") << row.totals;
        args.push_back("--no-warnings");
        EXPECT_TRUE(lint(args).out.ends_with("итого: " + row.totals + "\n")) << row.totals;
    }
    // Each file's own line uses the same plurals.
    const std::string five = put("five.json", R"({"schema": 2, "revision": 0, "messages": [)" + message("a", 3) + "," +
                                                  message("b b", 1, "t", "b", 2, 1) + "]}");
    EXPECT_TRUE(lint({five}).out.ends_with(five + ": 5 проблем\n")) << lint({five}).out;
}

// Colour: --color=always and never decide; auto paints only a terminal, and only while NO_COLOR
// is unset and TERM is not "dumb".
TEST(Lint, ColourDependsOnTerminalNoColorAndTerm) {
    struct ColourRow {
        std::string option;
        Environment environment;
        bool painted;
    };
    const std::vector<ColourRow> rows = {
        {"", {true, false, "xterm", 0, {}}, true},
        {"", {true, false, "", 0, {}}, true},
        {"", {false, false, "xterm", 0, {}}, false},
        {"", {true, true, "xterm", 0, {}}, false},
        {"", {true, false, "dumb", 0, {}}, false},
        {"--color=auto", {true, false, "xterm", 0, {}}, true},
        {"--color=auto", {true, true, "", 0, {}}, false},
        {"--color=always", {false, true, "dumb", 0, {}}, true},
        {"--color=never", {true, false, "xterm", 0, {}}, false},
    };
    const std::string bad = put("bad.json", R"({"schema": 1, "revision": 0})");
    // Each environment: a terminal, NO_COLOR set, TERM, the clock.
    for (const ColourRow& row : rows) {
        std::vector<std::string> args = {bad};
        if (!row.option.empty()) args.push_back(row.option);
        const std::string out = lint(args, row.environment).out;
        EXPECT_EQ(out.find("\x1b[") != std::string::npos, row.painted) << row.option << " " << row.environment.term;
        // Programs' formats are never painted.
        args.push_back("--format=json");
        EXPECT_EQ(lint(args, row.environment).out.find('\x1b'), std::string::npos);
    }
}

TEST(Lint, EscapesPathsForEachFormat) {
    const std::string path = put("a,b:c%d\x1b.json", R"({"schema": 1, "revision": 0})");
    const std::string dir = scratch().string() + "/";
    EXPECT_EQ(
        lint({"--format=github", path}).out,
        "::error file=" + replace_all(dir, ":", "%3A") +
            R"(a%2Cb%3Ac%25d\u{1b}.json,line=1,col=27::messages: revision обязателен и должен быть >= 1 — отклонена)"
            "\n");
    EXPECT_TRUE(lint({"--format=json", path}).out.starts_with("{\"file\":\"" + dir + "a,b:c%d\\u001b.json\","));
    EXPECT_TRUE(lint({path}).out.starts_with(dir + "a,b:c%d\\u{1b}.json:1:27: "));
    // JSON Lines stay one line for readers that split at U+0085, U+2028 and U+2029 too.
    const std::string separators = put("a\u2028b\u2029c\u0085d.json", R"({"schema": 1, "revision": 0})");
    EXPECT_TRUE(lint({"--format=json", separators})
                    .out.starts_with("{\"file\":\"" + dir + "a\\u2028b\\u2029c\\u0085d.json\","));
}

struct ArgumentRow {
    std::vector<std::string> args;
    Outcome expected;
};

TEST(Lint, ArgumentsAndUsageErrors) {
    const std::string help = " (справка: messages-lint --help)\n";
    const std::vector<ArgumentRow> rows = {
        {{}, {2, "", "[messages-lint] укажите хотя бы один файл ленты" + help}},
        {{"--format=json"}, {2, "", "[messages-lint] укажите хотя бы один файл ленты" + help}},
        {{"--format=xml", "a"},
         {2, "", "[messages-lint] неизвестный формат xml (human, json, github или sarif)" + help}},
        {{"--format", "xml", "a"},
         {2, "", "[messages-lint] неизвестный формат xml (human, json, github или sarif)" + help}},
        {{"a", "--format"}, {2, "", "[messages-lint] флагу --format нужно значение" + help}},
        {{"a", "--verbose"}, {2, "", "[messages-lint] неизвестный флаг --verbose" + help}},
        {{"a", "-x"}, {2, "", "[messages-lint] неизвестный флаг -x" + help}},
        {{"a", "--help=1"}, {2, "", "[messages-lint] неизвестный флаг --help=1" + help}},
        {{"a", "--color=blue"},
         {2, "", "[messages-lint] неизвестное значение --color blue (auto, always или never)" + help}},
        {{"a", "--now=1.5"}, {2, "", "[messages-lint] --now ждёт целое число секунд Unix, а не 1.5" + help}},
        {{"a", "--now", ""}, {2, "", "[messages-lint] --now ждёт целое число секунд Unix, а не " + help}},
        {{"a", "--now=99999999999999999999"},
         {2, "", "[messages-lint] --now ждёт целое число секунд Unix, а не 99999999999999999999" + help}},
        {{"-", "--stdin-filename="}, {2, "", "[messages-lint] пустое имя в --stdin-filename" + help}},
        {{"-", "x", "-"}, {2, "", "[messages-lint] стандартный ввод (-) указан больше одного раза" + help}},
        {{"a", "--help"}, {0, std::string(USAGE_TEXT), ""}},
        {{"-h", "--verbose"}, {0, std::string(USAGE_TEXT), ""}},
        {{"--version"}, {0, "messages-lint " MT_PROJECT_VERSION "\n", ""}},
        {{"\xff"}, {2, "", "[messages-lint] аргумент 1 не в UTF-8\n"}},
        {{"a", "--fix", "--diff"},
         {2, "",
          "[messages-lint] --fix и --diff вместе не бывают: --diff только показывает, что сделает --fix" + help}},
        {{"--unsafe-fixes", "a"},
         {2, "", "[messages-lint] --unsafe-fixes действует только вместе с --fix или --diff" + help}},
        {{"--lsp", "a"}, {2, "", "[messages-lint] --lsp не принимает файлов: документы присылает редактор" + help}},
        {{"--lsp", "--fix"},
         {2, "", "[messages-lint] --lsp не исправляет файлы: исправления предлагает редактор" + help}},
    };
    for (const auto& row : rows) EXPECT_EQ(lint(row.args), row.expected) << ::testing::PrintToString(row.args);

    // Every option that takes a value takes it after "=" or as the next argument.
    struct RequestRow {
        std::vector<std::string_view> args;
        Request expected;
    };
    const auto request = [](auto set) {
        Request r;
        set(r);
        return r;
    };
    const std::vector<RequestRow> requests = {
        {{"--format=json", "x", "--format=github", "--", "--help", "-"}, request([](Request& r) {
             r.format = Format::github;
             r.files = {"x", "--help", "-"};
         })},
        {{"--format", "sarif", "--color", "never", "--now", "-12", "--stdin-filename", "d.json", "-", "x"},
         request([](Request& r) {
             r.format = Format::sarif;
             r.color = ColorMode::never;
             r.now = -12;
             r.stdin_name = "d.json";
             r.files = {"-", "x"};
         })},
        {{"--color=always", "--now=1774000000", "--stdin-filename=a b", "--no-warnings", "--", "-"},
         request([](Request& r) {
             r.color = ColorMode::always;
             r.now = 1774000000;
             r.warnings = false;
             r.stdin_name = "a b";
             r.files = {"-"};
         })},
        {{"--fix", "--unsafe-fixes", "--fix", "x"}, request([](Request& r) {
             r.fix = FixMode::fix;
             r.unsafe_fixes = true;
             r.files = {"x"};
         })},
        {{"--diff", "-"}, request([](Request& r) {
             r.fix = FixMode::diff;
             r.files = {"-"};
         })},
        {{"--stdin-filename", "--format=json", "x"}, request([](Request& r) {
             r.stdin_name = "--format=json";
             r.files = {"x"};
         })},
        {{"--lsp", "--now", "5", "--no-warnings"}, request([](Request& r) {
             r.lsp = true;
             r.now = 5;
             r.warnings = false;
         })},
    };
    for (const auto& row : requests)
        EXPECT_EQ(std::get<Request>(parse_arguments(row.args)), row.expected) << ::testing::PrintToString(row.args);
}

// `-` is standard input, read by the built program through the same bounded read as a file.
TEST(Lint, ReadsStandardInput) {
    struct StdinRow {
        std::vector<std::string> args;
        std::string input;
        mt::testing::ProgramRun expected;
    };
    const std::string bad = R"({"schema": 1, "revision": 0})";
    const std::string oversize = R"({"schema": 1, "revision": 1})" + std::string(70000, ' ');
    const std::vector<StdinRow> rows = {
        {{"-"},
         bad,
         {1,
          "<stdin>:1:27: messages: revision обязателен и должен быть >= 1 — отклонена\n"
          " 1 | {\"schema\": 1, \"revision\": 0}\n"
          "   |                           ^\n<stdin>: 1 проблема\n",
          ""}},
        {{"--format=github", "--stdin-filename", "feeds/messages.json", "-"},
         bad,
         {1,
          "::error file=feeds/messages.json,line=1,col=27::messages: revision обязателен и должен быть >= 1 — "
          "отклонена\n",
          ""}},
        {{"--format=json", "-"}, R"({"schema": 1, "revision": 1})", {0, "", ""}},
        {{"--format=github", "--stdin-filename=big.json", "-"},
         oversize,
         {1,
          "::error file=big.json,line=1,col=65537::big.json — 65537 байт больше 64 КиБ, отклонено до парсинга%0A"
          "примечание: в файле 70028 байт, допустимо не больше 65536: сократите его на 4492 байта\n",
          ""}},
        // Fixed, standard input goes to standard output whole and the report to standard error.
        {{"--fix", "-"},
         "{\"schema\": 1, \"revision\": 1,} // черновик\n",
         {0, "{\"schema\": 1, \"revision\": 1}\n",
          "<stdin>: исправлено: удалить лишнюю запятую; удалить комментарий\n<stdin>: проблем нет\n"}},
        {{"--fix", "--format=json", "-"},
         "{\"schema\": 1, \"revision\": 0,}",
         {1, "{\"schema\": 1, \"revision\": 0}",
          "[messages-lint] <stdin>: исправлено: удалить лишнюю запятую\n"
          "{\"file\":\"<stdin>\",\"line\":1,\"column\":27,\"byte_offset\":26,\"start_byte_offset\":26,\"end_byte_"
          "offset\":27,"
          "\"end_line\":1,\"end_column\":28,\"rule\":\"revision\",\"severity\":"
          "\"error\",\"text\":\"messages: revision обязателен и должен быть >= 1 — отклонена\",\"notes\":[]}\n"}},
        // Nothing to fix: the document comes back as it was.
        {{"--fix", "-"},
         bad,
         {1, bad,
          "<stdin>:1:27: messages: revision обязателен и должен быть >= 1 — отклонена\n"
          " 1 | {\"schema\": 1, \"revision\": 0}\n"
          "   |                           ^\n<stdin>: 1 проблема\n"}},
        // Over the limit: the document still comes back whole (an editor that takes it in place of
        // its text must not lose it), with the size problem.
        {{"--fix", "--format=json", "-"},
         oversize,
         {1, oversize,
          "{\"file\":\"<stdin>\",\"line\":1,\"column\":65537,\"byte_offset\":65536,\"start_byte_offset\":65536,"
          "\"end_byte_offset\":65537,\"end_line\":1,\"end_column\":65538,\"rule\":\"size\",\"severity\":"
          "\"error\",\"text\":\"<stdin> — 65537 байт больше 64 КиБ, отклонено до парсинга\",\"notes\":[\"в файле "
          "70028 байт, допустимо не больше 65536: сократите его на 4492 байта\"]}\n"}},
        // A comment that takes a draft over the limit: removed, and the draft is then checked.
        {{"--fix", "--format=json", "-"},
         R"({"schema": 1, "revision": 1} // )" + std::string(70000, 'x'),
         {0, R"({"schema": 1, "revision": 1})", "[messages-lint] <stdin>: исправлено: удалить комментарий\n"}},
        // More than fixing reads: nothing is fixed, and nothing of a cut document is written.
        {{"--fix", "--format=github", "-"},
         R"({"schema": 1, "revision": 1})" + std::string(16 * 1024 * 1024, ' '),
         {2, "",
          "[messages-lint] не исправляю <stdin>: в нём больше 16 МиБ (16777216 байт), и в стандартный вывод он не "
          "выведен\n::error file=<stdin>,line=1,col=65537::<stdin> — 65537 байт больше 64 КиБ, отклонено до "
          "парсинга%0Aпримечание: в файле 16777244 байта, допустимо не больше 65536: сократите его на 16711708 "
          "байт\n"}},
        // Hunks as diff -u makes them: changes 6 kept lines apart share one, 7 apart do not;
        // context stops at either end; a last line without a line feed is marked.
        {{"--diff", "-"},
         "{\n\"a\": 1, // x\n\"b\": 2,\n\"c\": 3,\n\"d\": 4,\n\"e\": 5,\n\"f\": 6,\n\"g\": 7,\n\"h\": 8, // y\n\"i\": "
         "9\n}\n",
         {1,
          "--- a/<stdin>\n+++ b/<stdin>\n@@ -1,11 +1,11 @@\n {\n-\"a\": 1, // x\n+\"a\": 1,\n \"b\": 2,\n \"c\": 3,\n"
          " \"d\": 4,\n \"e\": 5,\n \"f\": 6,\n \"g\": 7,\n-\"h\": 8, // y\n+\"h\": 8,\n \"i\": 9\n }\n",
          ""}},
        {{"--diff", "-"},
         "{\n\"a\": 1, // x\n\"b\": 2,\n\"c\": 3,\n\"d\": 4,\n\"e\": 5,\n\"f\": 6,\n\"g\": 7,\n\"h\": 8,\n\"i\": 9, // "
         "y\n\"j\": 10\n}\n",
         {1,
          "--- a/<stdin>\n+++ b/<stdin>\n@@ -1,5 +1,5 @@\n {\n-\"a\": 1, // x\n+\"a\": 1,\n \"b\": 2,\n \"c\": 3,\n"
          " \"d\": 4,\n@@ -7,6 +7,6 @@\n \"f\": 6,\n \"g\": 7,\n \"h\": 8,\n-\"i\": 9, // y\n+\"i\": 9,\n \"j\": 10\n "
          "}\n",
          ""}},
        {{"--diff", "-"},
         "// only a comment",
         {1, "--- a/<stdin>\n+++ b/<stdin>\n@@ -1 +0,0 @@\n-// only a comment\n\\ No newline at end of file\n", ""}},
        {{"--diff", "-"},
         "// c\n{\"schema\": 1}",
         {1, "--- a/<stdin>\n+++ b/<stdin>\n@@ -1,2 +1 @@\n-// c\n {\"schema\": 1}\n\\ No newline at end of file\n",
          ""}},
        {{"--diff", "-"},
         "{\"schema\": 1,}",
         {1,
          "--- a/<stdin>\n+++ b/<stdin>\n@@ -1 +1 @@\n-{\"schema\": 1,}\n\\ No newline at end of file\n+{\"schema\": "
          "1}\n\\ No newline at end of file\n",
          ""}},
        {{"--diff", "-"},
         "{\"schema\": 1, \"revision\": 1,}\n",
         {1,
          "--- a/<stdin>\n+++ b/<stdin>\n@@ -1 +1 @@\n-{\"schema\": 1, \"revision\": 1,}\n+{\"schema\": 1, "
          "\"revision\": 1}\n",
          ""}},
    };
    for (const StdinRow& row : rows) {
        const std::string input = put("stdin.json", row.input);
        const int fd = ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(mt::testing::run_program(MT_LINT_PATH, row.args, scratch(), mt::testing::Stdout::captured, fd),
                  row.expected)
            << ::testing::PrintToString(row.args);
        ::close(fd);
    }
}

}  // namespace
}  // namespace mt::lint
