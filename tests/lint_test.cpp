// messages-lint over a table of documents written to a scratch directory: the exact report in
// each of the three formats, what goes to standard error and the exit status; then the
// argument walk. The run is called in process, as main calls it.
#include "messages-lint/lint.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace mt::lint {
namespace {

namespace fs = std::filesystem;

const std::string BOM_NOTE =
    "файл начинается с метки порядка байтов (BOM, байты EF BB BF): сохраните его в UTF-8 без BOM (VS Code: "
    "«UTF-8 with BOM» в строке состояния → «Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», кодировка "
    "«UTF-8»)";

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

Outcome lint(std::vector<std::string> args, bool color = false) {
    std::vector<const char*> argv = {"messages-lint"};
    for (const auto& arg : args) argv.push_back(arg.c_str());
    return run(argv, color);
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
    // The reports; "{F}" stands for the path, "{BOM}" for the byte-order-mark note.
    std::string human, json, github;
};

TEST(Lint, ReportsEveryProblemInEachFormat) {
    const std::string head = "{\"schema\": 1, \"revision\": 1, \"messages\": [\n";
    const std::vector<Row> rows = {
        {"cyrillic", head + R"x(  {"id": "a", "priority": 1, "title": "Привет, мир" "body": "b"}
]}
)x",
         1,
         R"x({F}:2:53: messages: JSON ленты не разбирается: expected `,` or `}` at line 2 column 62
 2 | …{"id": "a", "priority": 1, "title": "Привет, мир" "body": "b"}
   |                                                    ^
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":2,"column":53,"byte_offset":104,"rule":"json","text":"messages: JSON ленты не разбирается: expected `,` or `}` at line 2 column 62","notes":[]}
)x",
         R"x(::error file={F},line=2,col=53::messages: JSON ленты не разбирается: expected `,` or `}` at line 2 column 62
)x"},
        {"bom", std::string("\xEF\xBB\xBF") + R"x({"schema": 1, "revision": 1}
)x",
         1,
         R"x({F}:1:1: messages: JSON ленты не разбирается: expected value at line 1 column 1
 1 | \u{feff}{"schema": 1, "revision": 1}
   | ^
   = примечание: {BOM}
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":1,"column":1,"byte_offset":0,"rule":"json","text":"messages: JSON ленты не разбирается: expected value at line 1 column 1","notes":["{BOM}"]}
)x",
         R"x(::error file={F},line=1,col=1::messages: JSON ленты не разбирается: expected value at line 1 column 1%0Aпримечание: {BOM}
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
   |                                            ^
   = примечание: в title 81 символ, допустимо не больше 80
{F}:3:137: messages: управляющие символы в title/body (id "second")
 3 | …ЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯЯ", "body": "a\tb", "start_at": 1, "end_at": 2, "minVersion": "…
   |                                                    ^
   = примечание: в body управляющий символ U+0009
{F}:3:187: messages: minVersion 1.10.0 > maxVersion 1.9.0 (id "second")
 3 | …"a\tb", "start_at": 1, "end_at": 2, "minVersion": "1.10.0", "maxVersion": "1.9.0"}
   |                                                    ^
{F}: 5 проблем
)x",
         R"x({"file":"{F}","line":2,"column":31,"byte_offset":73,"rule":"priority","message_index":0,"id":"first","text":"messages: priority 3 вне 0..=2 (id \"first\")","notes":[]}
{"file":"{F}","line":2,"column":98,"byte_offset":154,"rule":"time-window","message_index":0,"id":"first","text":"messages: end_at <= start_at (id \"first\")","notes":[]}
{"file":"{F}","line":3,"column":44,"byte_offset":201,"rule":"title-length","message_index":1,"id":"second","text":"messages: title длиннее 80 символов (id \"second\")","notes":["в title 81 символ, допустимо не больше 80"]}
{"file":"{F}","line":3,"column":137,"byte_offset":375,"rule":"control-character","message_index":1,"id":"second","text":"messages: управляющие символы в title/body (id \"second\")","notes":["в body управляющий символ U+0009"]}
{"file":"{F}","line":3,"column":187,"byte_offset":425,"rule":"version-order","message_index":1,"id":"second","text":"messages: minVersion 1.10.0 > maxVersion 1.9.0 (id \"second\")","notes":[]}
)x",
         R"x(::error file={F},line=2,col=31::messages: priority 3 вне 0..=2 (id "first")
::error file={F},line=2,col=98::messages: end_at <= start_at (id "first")
::error file={F},line=3,col=44::messages: title длиннее 80 символов (id "second")%0Aпримечание: в title 81 символ, допустимо не больше 80
::error file={F},line=3,col=137::messages: управляющие символы в title/body (id "second")%0Aпримечание: в body управляющий символ U+0009
::error file={F},line=3,col=187::messages: minVersion 1.10.0 > maxVersion 1.9.0 (id "second")
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
   |                                                  ^
{F}: 3 проблемы
)x",
         R"x({"file":"{F}","line":1,"column":12,"byte_offset":11,"rule":"schema","text":"messages: неизвестная schema 2","notes":[]}
{"file":"{F}","line":1,"column":27,"byte_offset":26,"rule":"revision","text":"messages: revision обязателен и должен быть >= 1 — отклонена","notes":[]}
{"file":"{F}","line":1,"column":50,"byte_offset":49,"rule":"id","message_index":0,"id":"bad id","text":"messages: недопустимый id \"bad id\" (ASCII [A-Za-z0-9_-], 1..=64)","notes":[]}
)x",
         R"x(::error file={F},line=1,col=12::messages: неизвестная schema 2
::error file={F},line=1,col=27::messages: revision обязателен и должен быть >= 1 — отклонена
::error file={F},line=1,col=50::messages: недопустимый id "bad id" (ASCII [A-Za-z0-9_-], 1..=64)
)x"},
        {"duplicate",
         head + "  " + message("promo") + ",\n  " + message("other") + ",\n  " + message("promo") + "\n]}\n", 1,
         R"x({F}:4:10: messages: дубликат id "promo"
 4 |   {"id": "promo", "priority": 1, "title": "Заголовок", "body…
   |          ^
   = примечание: этот id уже есть у сообщения на строке 2
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":4,"column":10,"byte_offset":282,"rule":"duplicate-id","message_index":2,"id":"promo","text":"messages: дубликат id \"promo\"","notes":["этот id уже есть у сообщения на строке 2"]}
)x",
         R"x(::error file={F},line=4,col=10::messages: дубликат id "promo"%0Aпримечание: этот id уже есть у сообщения на строке 2
)x"},
        {"count", fifty_one_messages(), 1,
         R"x({F}:52:1: messages: 51 сообщений больше 50 — отклонена целиком
 52 | {"id": "m50", "priority": 1, "title": "t", "body": …
    | ^
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":52,"column":1,"byte_offset":4283,"rule":"count","message_index":50,"id":"m50","text":"messages: 51 сообщений больше 50 — отклонена целиком","notes":[]}
)x",
         R"x(::error file={F},line=52,col=1::messages: 51 сообщений больше 50 — отклонена целиком
)x"},
        {"oversize", R"x({"schema": 1, "revision": 1})x" + std::string(65600, ' '), 1,
         R"x({F}:1:65537: {F} — 65537 байт больше 64 КиБ, отклонено до парсинга
 1 | …                                                   
   |                                                    ^
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":1,"column":65537,"byte_offset":65536,"rule":"size","text":"{F} — 65537 байт больше 64 КиБ, отклонено до парсинга","notes":[]}
)x",
         R"x(::error file={F},line=1,col=65537::{F} — 65537 байт больше 64 КиБ, отклонено до парсинга
)x"},
        {"key", R"x({"schema": 1, "revision": 1, "messages": [{"id": "a", "priority": 1, "tittle": "t"}]}
)x",
         1,
         R"x({F}:1:77: messages: JSON ленты не разбирается: unknown field `tittle`, expected one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, `cta`, `minVersion`, `maxVersion` at line 1 column 77
 1 | …1, "messages": [{"id": "a", "priority": 1, "tittle": "t"}]}
   |                                                    ^
   = примечание: возможно, имелось в виду `title`
{F}: 1 проблема
)x",
         R"x({"file":"{F}","line":1,"column":77,"byte_offset":76,"rule":"json","text":"messages: JSON ленты не разбирается: unknown field `tittle`, expected one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, `cta`, `minVersion`, `maxVersion` at line 1 column 77","notes":["возможно, имелось в виду `title`"]}
)x",
         R"x(::error file={F},line=1,col=77::messages: JSON ленты не разбирается: unknown field `tittle`, expected one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, `cta`, `minVersion`, `maxVersion` at line 1 column 77%0Aпримечание: возможно, имелось в виду `title`
)x"},
        {"valid", R"x({"schema": 1, "revision": 1, "messages": [)x" + message("a") + "]}\n", 0,
         R"x({F}: проблем нет
)x",
         "", ""},
        {"unreadable", std::nullopt, 2, "", "", ""},
    };
    for (const Row& row : rows) {
        const std::string path =
            row.document ? put(std::string(row.name) + ".json", *row.document) : (scratch() / "missing.json").string();
        const std::string err =
            row.document ? "" : "[messages-lint] не читаю " + path + ": No such file or directory (os error 2)\n";
        const auto fill = [&](const std::string& text) {
            return replace_all(replace_all(text, "{F}", path), "{BOM}", BOM_NOTE);
        };
        const auto human = fill(row.human);
        EXPECT_EQ(lint({path}), (Outcome{row.status, human, err})) << row.name;
        EXPECT_EQ(lint({"--format=json", path}), (Outcome{row.status, fill(row.json), err})) << row.name;
        EXPECT_EQ(lint({"--format=github", path}), (Outcome{row.status, fill(row.github), err})) << row.name;

        // Colour changes nothing but the escape sequences around the words.
        std::string painted = lint({path}, true).out;
        for (const char* code : {"\x1b[1m", "\x1b[1;31m", "\x1b[1;36m", "\x1b[0m"})
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
    EXPECT_EQ(unreadable.out, one_bad.out);
    EXPECT_EQ(lint({good, good}).out, good + ": проблем нет\n" + good + ": проблем нет\n");
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
        {{"--format=xml", "a"}, {2, "", "[messages-lint] неизвестный формат xml (human, json или github)" + help}},
        {{"--format", "a"}, {2, "", "[messages-lint] неизвестный флаг --format" + help}},
        {{"a", "--verbose"}, {2, "", "[messages-lint] неизвестный флаг --verbose" + help}},
        {{"a", "--help"}, {0, std::string(USAGE_TEXT), ""}},
        {{"--version"}, {0, "messages-lint " MT_PROJECT_VERSION "\n", ""}},
        {{"\xff"}, {2, "", "[messages-lint] аргумент 1 не в UTF-8\n"}},
    };
    for (const auto& row : rows) EXPECT_EQ(lint(row.args), row.expected) << ::testing::PrintToString(row.args);

    const std::vector<std::string_view> args = {"--format=json", "x", "--format=github", "--", "--help", "-"};
    EXPECT_EQ(std::get<Request>(parse_arguments(args)), (Request{Format::github, {"x", "--help", "-"}}));
}

}  // namespace
}  // namespace mt::lint
