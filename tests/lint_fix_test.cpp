// Fixing drafts as authors write them: each row is a draft with one mistake or several and the
// document its author meant. `messages-lint --fix` (with --unsafe-fixes where the row says)
// must turn the draft into a document that reads to the same feed as the meant one, that the
// development-key tool accepts once signed, and that a second --fix leaves as it is. Mistakes
// that are the author's to decide stay exactly as written.
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "lint/fix_document.h"
#include "messages/messages.h"
#include "support/dev_signer.h"
#include "support/run_program.h"

namespace mt::lint {
namespace {

namespace fs = std::filesystem;
using testing::run_program;
using testing::slurp;

constexpr std::int64_t NOW = 1774500000;

const std::string MEANT = R"({
  "schema": 1,
  "revision": 12,
  "messages": [
    {
      "id": "spring-sale",
      "priority": 1,
      "title": "Весенняя скидка 20%",
      "body": "Только до пятницы: «Премиум» дешевле на 20%.",
      "start_at": 1774000000,
      "end_at": 1775000000,
      "cta": {"kind": "open_updates"},
      "minVersion": "2.1.0"
    },
    {
      "id": "new-themes",
      "priority": 0,
      "title": "Новые темы оформления",
      "body": "Откройте настройки и выберите тему.",
      "start_at": 1774100000,
      "end_at": 1776000000
    }
  ]
}
)";

// `text` with each `from` replaced by its `to`, in order; each must occur.
std::string with(std::string text, std::initializer_list<std::pair<std::string_view, std::string_view>> changes) {
    for (const auto& [from, to] : changes) {
        const std::size_t at = text.find(from);
        if (at == std::string::npos)
            ADD_FAILURE() << "no " << from;
        else
            text.replace(at, from.size(), to);
    }
    return text;
}

// UTF-8 `text` (no character beyond U+FFFF) as a UTF-16LE file with its byte-order mark.
std::string in_utf16(std::string_view text) {
    std::string out = "\xFF\xFE";
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xE0 ? 3 : 2;
        char32_t c = length == 1 ? lead : lead & (length == 3 ? 0x0F : 0x1F);
        for (std::size_t k = 1; k < length; ++k) c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

// The Cyrillic letters, Ё, ё, «, » and — of UTF-8 `text` as Windows-1251 saves them.
std::string in_windows_1251(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += text[i++];
            continue;
        }
        char32_t c = 0;
        std::size_t length = lead >= 0xE0 ? 3 : 2;
        c = lead & (length == 3 ? 0x0F : 0x1F);
        for (std::size_t k = 1; k < length; ++k) c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        if (c >= 0x0410 && c <= 0x044F)
            out += static_cast<char>(0xC0 + (c - 0x0410));
        else if (c == 0x0401)
            out += '\xA8';
        else if (c == 0x0451)
            out += '\xB8';
        else if (c == 0x00AB)
            out += '\xAB';
        else if (c == 0x00BB)
            out += '\xBB';
        else if (c == 0x2014)
            out += '\x97';
        else
            ADD_FAILURE() << "not in the table: U+" << std::hex << static_cast<unsigned>(c);
    }
    return out;
}

struct Row {
    const char* name;
    std::string draft;
    std::string meant;
    bool unsafe = false;   // --unsafe-fixes
    bool accepted = true;  // whether the meant document is a feed the tool accepts
};

// The user and group nobody, and the command that runs a program as them (util-linux's setpriv,
// in every Debian system).
constexpr uid_t NOBODY = 65534;
const std::vector<std::string> AS_NOBODY = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};

// Sets or clears a folder's immutable flag (chattr +i), which only the superuser may set.
bool set_immutable(const fs::path& folder, bool on) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

class LintFix : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) / ("lint_fix_test." + std::to_string(::getpid()));
        fs::create_directories(dir_);
        nobody_can_run_ =
            ::geteuid() == 0 &&
            run_program(MT_LINT_PATH, {"--version"}, dir_, testing::Stdout::captured, -1, AS_NOBODY).status == 0;
    }
    void TearDown() override {
        set_immutable(dir_ / "drafts", false);  // should a row have stopped half-way
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove_all(dir_);
    }
    std::string put(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return (dir_ / name).string();
    }
    static std::vector<std::string> with_now(std::vector<std::string> args) {
        args.insert(args.begin(), "--now=" + std::to_string(NOW));
        return args;
    }
    testing::ProgramRun lint(std::vector<std::string> args) { return run_program(MT_LINT_PATH, with_now(args), dir_); }
    fs::path dir_;
    bool nobody_can_run_ = false;  // as root: whether the program starts as nobody
};

TEST_F(LintFix, DraftsBecomeWhatTheirAuthorsMeant) {
    const std::string message_tail = "      \"end_at\": 1776000000\n    }";
    const std::vector<Row> rows = {
        {"byte-order mark", "\xEF\xBB\xBF" + MEANT, MEANT},
        {"windows-1251", in_windows_1251(MEANT), MEANT},
        {"windows-1251 with a byte-order mark", "\xEF\xBB\xBF" + in_windows_1251(MEANT), MEANT},
        {"UTF-16", in_utf16(MEANT), MEANT},
        {"typographic quotes round a value", with(MEANT, {{"\"Весенняя скидка 20%\"", "“Весенняя скидка 20%”"}}),
         MEANT},
        {"guillemets round a value", with(MEANT, {{"\"Новые темы оформления\"", "«Новые темы оформления»"}}), MEANT},
        {"low and high quotes round a value", with(MEANT, {{"\"Новые темы оформления\"", "„Новые темы оформления“"}}),
         MEANT},
        {"typographic quotes round a key", with(MEANT, {{"\"title\"", "“title”"}}), MEANT},
        {"guillemets inside a typographically quoted string",
         with(MEANT,
              {{"\"Только до пятницы: «Премиум» дешевле на 20%.\"", "“Только до пятницы: «Премиум» дешевле на 20%.”"}}),
         MEANT},
        {"opened straight, closed typographic", with(MEANT, {{"20%\",\n      \"body\"", "20%”,\n      \"body\""}}),
         MEANT},
        {"single quotes round a value", with(MEANT, {{"\"Новые темы оформления\"", "'Новые темы оформления'"}}), MEANT},
        {"single quotes with double quotes inside",
         with(MEANT, {{"\"Откройте настройки и выберите тему.\"", "'Откройте \"Настройки\" и выберите тему.'"}}),
         with(MEANT, {{"Откройте настройки", "Откройте \\\"Настройки\\\""}})},
        {"single quotes round keys", with(MEANT, {{"\"id\": \"new-themes\"", "'id': 'new-themes'"}}), MEANT},
        {"a line comment above the feed", "// весенняя рассылка\n" + MEANT, MEANT},
        {"a line comment after a value", with(MEANT, {{"\"revision\": 12,", "\"revision\": 12, // было 11"}}), MEANT},
        {"a block comment", with(MEANT, {{"\"priority\": 0,", "\"priority\": 0, /* фон */"}}), MEANT},
        {"a block comment over lines",
         with(MEANT, {{"  \"messages\"", "  /* сообщения\n     весны */\n  \"messages\""}}), MEANT},
        {"a trailing comma in a message", with(MEANT, {{"\"end_at\": 1776000000", "\"end_at\": 1776000000,"}}), MEANT},
        {"a trailing comma in the list", with(MEANT, {{message_tail + "\n  ]", message_tail + ",\n  ]"}}), MEANT},
        {"a missing comma between members", with(MEANT, {{"\"priority\": 1,", "\"priority\": 1"}}), MEANT},
        {"a missing comma between messages", with(MEANT, {{"    },\n    {", "    }\n    {"}}), MEANT},
        {"a no-break space between tokens", with(MEANT, {{"\"revision\": 12", "\"revision\":\u00A012"}}), MEANT},
        {"a zero-width space and an ideographic space",
         with(MEANT, {{"\"schema\": 1", "\"schema\":\u200B 1"}, {"\"revision\"", "\u3000\"revision\""}}), MEANT},
        {"a line break inside a string", with(MEANT, {{"Откройте настройки и", "Откройте настройки\nи"}}),
         with(MEANT, {{"Откройте настройки и", "Откройте настройки\\nи"}})},
        {"a Windows line break inside a string", with(MEANT, {{"Откройте настройки и", "Откройте настройки\r\nи"}}),
         with(MEANT, {{"Откройте настройки и", "Откройте настройки\\nи"}})},
        {"an editor's $schema first",
         with(MEANT, {{"{\n  \"schema\"", "{\n  \"$schema\": \"./messages.schema.json\",\n  \"schema\""}}), MEANT},
        {"an editor's $schema last", with(MEANT, {{"  ]\n}", "  ],\n  \"$schema\": \"./messages.schema.json\"\n}"}}),
         MEANT},
        {"a misspelt key", with(MEANT, {{"\"title\": \"Новые", "\"tittle\": \"Новые"}}), MEANT, true},
        {"a key in another case", with(MEANT, {{"\"start_at\": 1774100000", "\"Start_At\": 1774100000"}}), MEANT, true},
        {"a misspelt kind", with(MEANT, {{"open_updates", "open_update"}}), MEANT, true},
        {"a time in milliseconds", with(MEANT, {{"1775000000", "1775000000000"}}), MEANT, true},
        {"a date", with(MEANT, {{"\"start_at\": 1774100000", "\"start_at\": \"2026-03-20\""}}),
         with(MEANT, {{"\"start_at\": 1774100000", "\"start_at\": 1773964800"}}), true},
        {"a date and time with a zone",
         with(MEANT, {{"\"start_at\": 1774100000", "\"start_at\": \"2026-03-20T10:00:00+03:00\""}}),
         with(MEANT, {{"\"start_at\": 1774100000", "\"start_at\": 1773990000"}}), true},
        {"a date and time in UTC", with(MEANT, {{"1776000000", "\"2026-04-01T09:30:00Z\""}}),
         with(MEANT, {{"1776000000", "1775035800"}}), true},
        {"a version of two parts", with(MEANT, {{"\"2.1.0\"", "\"2.1\""}}), MEANT, true},
        {"a version of one part", with(MEANT, {{"\"2.1.0\"", "\"2\""}}), with(MEANT, {{"\"2.1.0\"", "\"2.0.0\""}}),
         true},
        {"a number in quotation marks", with(MEANT, {{"\"priority\": 0", "\"priority\": \"0\""}}), MEANT, true},
        {"quotes, a trailing comma and a comment",
         with(MEANT, {{"\"Весенняя скидка 20%\"", "“Весенняя скидка 20%”"},
                      {"\"end_at\": 1776000000", "\"end_at\": 1776000000,"},
                      {"\"revision\": 12,", "\"revision\": 12, // новая ревизия"}}),
         MEANT},
        {"a mistake in every message",
         with(MEANT, {{"\"priority\": 1,", "\"priority\": 1"},
                      {"\"Новые темы оформления\"", "«Новые темы оформления»"},
                      {"    },\n    {", "    }\n    {"},
                      {"\"end_at\": 1776000000", "\"end_at\": 1776000000,"}}),
         MEANT},
        {"everything at once, suggestions too",
         "\xEF\xBB\xBF// черновик\n" +
             with(MEANT, {{"{\n  \"schema\"", "{\n  \"$schema\": \"./messages.schema.json\",\n  \"schema\""},
                          {"\"Весенняя скидка 20%\"", "'Весенняя скидка 20%'"},
                          {"\"minVersion\": \"2.1.0\"", "\"minVersion\": \"2.1\","},
                          {"\"tit", "\"Tit"},
                          {"\"title\": \"Новые темы оформления\"", "\"title\": „Новые темы оформления“"},
                          {"1774100000", "\"2026-03-21T13:33:20Z\""},
                          {"Откройте настройки и", "Откройте настройки\nи"}}),
         with(MEANT, {{"Откройте настройки и", "Откройте настройки\\nи"}}), true},
        // The author's to decide: nothing is certain or probable.
        {"a title over its limit", with(MEANT, {{"Весенняя скидка 20%", std::string(81 * 2, 'x').substr(0, 81)}}),
         with(MEANT, {{"Весенняя скидка 20%", std::string(81 * 2, 'x').substr(0, 81)}}), true, false},
        {"a repeated id", with(MEANT, {{"new-themes", "spring-sale"}}), with(MEANT, {{"new-themes", "spring-sale"}}),
         true, false},
        {"an end before the start", with(MEANT, {{"1776000000", "1774000000"}}),
         with(MEANT, {{"1776000000", "1774000000"}}), true, false},
    };
    const fs::path sig = dir_ / "feed.sig";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = put("feed.json", row.draft);
        std::vector<std::string> args = {"--fix", path};
        if (row.unsafe) args.insert(args.begin(), "--unsafe-fixes");
        const auto fixed_run = lint(args);
        EXPECT_EQ(fixed_run.status, row.accepted ? 0 : 1) << fixed_run;
        const std::string fixed = slurp(path);
        const auto got = parse_feed(fixed);
        const auto meant = parse_feed(row.meant);
        ASSERT_TRUE(meant.has_value());
        ASSERT_TRUE(got.has_value()) << got.error().text() << "\n" << fixed;
        EXPECT_EQ(*got, *meant) << fixed;
        if (!row.accepted) {
            EXPECT_EQ(fixed, row.draft);
        }

        std::ofstream(sig, std::ios::binary) << testing::dev_sign_hex(fixed) << '\n';
        const auto checked = run_program(MT_TOOL_PATH, {"check", path, "--sig", sig.string()}, dir_);
        EXPECT_EQ(checked.status, row.accepted ? 0 : 1) << checked;

        // Fixing what is fixed changes nothing.
        const auto again = lint(args);
        EXPECT_EQ(slurp(path), fixed);
        EXPECT_EQ(again.out.find("исправлено"), std::string::npos) << again;
    }
}

// Dates in every month as the fixing converts them (the drafts' other mistakes, their notes and
// what fixing makes of them are rows of the lint core's one table of mistakes).
TEST(LintFixDates, TheLastDayOfEachMonthAndTheDayAfter) {
    struct BytesRow {
        const char* name;
        std::string draft;
        std::string fixed;
        bool unsafe = false;
    };
    std::vector<BytesRow> rows;
    // The last day of every month, of a leap February and of the year 1, as dates to convert;
    // the day after each, and a February 29th of a year that is not leap, stay as written.
    const auto messages_starting = [](std::vector<std::string> starts) {
        std::string out = R"({"schema":1,"revision":1,"messages":[)";
        for (std::size_t i = 0; i < starts.size(); ++i)
            out += (i ? "," : "") + std::string(R"({"id":"m)") + std::to_string(i) +
                   R"(","priority":1,"title":"t","body":"b","start_at":)" + starts[i] + R"(,"end_at":4102444800})";
        return out + "]}";
    };
    rows.push_back(
        {"the last day of each month",
         messages_starting({"\"2026-01-31\"", "\"2026-02-28\"", "\"2026-03-31\"", "\"2026-04-30\"", "\"2026-05-31\"",
                            "\"2026-06-30\"", "\"2026-07-31\"", "\"2026-08-31\"", "\"2026-09-30\"", "\"2026-10-31\"",
                            "\"2026-11-30\"", "\"2026-12-31\"", "\"2024-02-29\"", "\"0001-01-01\""}),
         messages_starting({"1769817600", "1772236800", "1774915200", "1777507200", "1780185600", "1782777600",
                            "1785456000", "1788134400", "1790726400", "1793404800", "1795996800", "1798675200",
                            "1709164800", "-62135596800"}),
         true});
    const std::vector<std::string> past_the_end = {
        "\"2026-01-32\"", "\"2026-02-29\"", "\"2026-03-32\"", "\"2026-04-31\"", "\"2026-05-32\"",
        "\"2026-06-31\"", "\"2026-07-32\"", "\"2026-08-32\"", "\"2026-09-31\"", "\"2026-10-32\"",
        "\"2026-11-31\"", "\"2026-12-32\"", "\"2100-02-29\"", "\"0000-12-31\""};
    for (const std::string& date : past_the_end)
        rows.push_back({"no such day", messages_starting({date}), messages_starting({date}), true});
    for (const BytesRow& row : rows) {
        const FixOutcome fixed =
            fix_document(row.draft, {.unsafe = row.unsafe, .check = {.now = NOW, .warnings = true, .zone = {}}});
        EXPECT_EQ(fixed.document, row.fixed) << row.name;
    }
}

// --fix writes in place, atomically and with the file's mode; --diff writes nothing.
// A date without a zone is read in the author's (TZ), and the suggestion names it; a date that
// names its zone is read in that one. Summer time counts at the date's own time of year.
TEST_F(LintFix, DatesWithoutAZoneAreTheAuthors) {
    struct Row {
        const char* tz;
        std::string time;  // as written for start_at
        std::string seconds;
        std::string taken;  // the zone the title names, "" when the date names one
    };
    const std::vector<Row> rows = {
        {"UTC", "\"2026-03-20 10:00\"", "1774000800", "UTC"},
        // A zone the system does not have is read as UTC, and named so.
        {"Nowhere/Atlantis", "\"2026-03-20 10:00\"", "1774000800", "UTC"},
        {"/nowhere/zoneinfo/Europe/Moscow", "\"2026-03-20 10:00\"", "1774000800", "UTC"},
        // Centuries of the calendar: 2100 and 2200 have no 29 February, 2400 has one.
        {"UTC", "\"2100-03-01\"", "4107542400", "UTC"},
        {"UTC", "\"15.06.2200 12:00\"", "7272417600", "UTC"},
        {"UTC", "\"31.12.2400 23:59\"", "13601087940", "UTC"},
        {"Etc/UTC", "\"2026-03-20 10:00\"", "1774000800", "UTC"},
        {"Europe/Moscow", "\"2026-03-20 10:00\"", "1773990000", "Europe/Moscow"},
        {"Europe/Moscow", "2026-03-20", "1773954000", "Europe/Moscow"},
        {":Europe/Moscow", "\"20.03.2026 10:00\"", "1773990000", "Europe/Moscow"},
        {"Europe/Berlin", "\"2026-07-01T10:00\"", "1782892800", "Europe/Berlin"},
        {"Europe/Berlin", "\"2026-01-15 10:00\"", "1768467600", "Europe/Berlin"},
        {"/usr/share/zoneinfo/Europe/Berlin", "\"2026-01-15 10:00\"", "1768467600", "Europe/Berlin"},
        {"Europe/Berlin", "\"2026-03-20T10:00:00+03:00\"", "1773990000", ""},
    };
    for (const Row& row : rows) {
        const std::string path =
            put("dated.json", R"({"schema": 1, "revision": 1, "messages": [{"id": "a", "priority": 1, "title": "t", )"
                              R"("body": "b", "start_at": )" +
                                  row.time + R"(, "end_at": 1800000000}]})");
        const auto run = run_program(MT_LINT_PATH, with_now({"--format=json", path}), dir_, testing::Stdout::captured,
                                     -1, {"env", std::string("TZ=") + row.tz});
        const std::string title =
            "\"title\":\"заменить дату секундами Unix: " + row.seconds +
            (row.taken.empty() ? "" : " (часовой пояс не указан: взято время " + row.taken + ")") + "\"";
        EXPECT_NE(run.out.find(title), std::string::npos) << row.tz << " " << row.time << ": " << run.out;
    }
}

TEST_F(LintFix, WritesOnlyWhatItShould) {
    const std::string draft = with(MEANT, {{"\"revision\": 12,", "\"revision\": 12, // было 11"}});
    const std::string path = put("draft.json", draft);
    ::chmod(path.c_str(), 0751);

    const auto diff = lint({"--diff", path});
    EXPECT_EQ(diff, (testing::ProgramRun{1,
                                         "--- a/" + path + "\n+++ b/" + path +
                                             "\n@@ -1,6 +1,6 @@\n {\n   \"schema\": 1,\n-  \"revision\": 12, // было "
                                             "11\n+  \"revision\": 12,\n   \"messages\": [\n     {\n       \"id\": "
                                             "\"spring-sale\",\n",
                                         ""}));
    EXPECT_EQ(slurp(path), draft);
    EXPECT_EQ(lint({"--diff", put("meant.json", MEANT)}), (testing::ProgramRun{0, "", ""}));

    EXPECT_EQ(lint({"--fix", path}),
              (testing::ProgramRun{0, path + ": исправлено: удалить комментарий\n" + path + ": проблем нет\n", ""}));
    EXPECT_EQ(slurp(path), MEANT);
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0751u);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) ++entries;
    EXPECT_EQ(entries, 2u);  // no temporary file is left beside them

    // A draft over the limit is fixed as well, then checked: still refused while it is over,
    // accepted once its fixes bring it under.
    const std::string big =
        with(MEANT, {{"\"revision\": 12,", "\"revision\": 12, // было 11"}}) + std::string(70000, ' ');
    const std::string big_path = put("big.json", big);
    EXPECT_EQ(lint({"--fix", "--format=github", big_path}).status, 1);
    EXPECT_EQ(slurp(big_path), MEANT + std::string(70000, ' '));
    const std::string long_comment =
        with(MEANT, {{"\"revision\": 12,", "\"revision\": 12, // " + std::string(70000, 'x')}});
    const std::string long_comment_path = put("long-comment.json", long_comment);
    EXPECT_EQ(
        lint({"--fix", "--format=github", long_comment_path}),
        (testing::ProgramRun{0, "", "[messages-lint] " + long_comment_path + ": исправлено: удалить комментарий\n"}));
    EXPECT_EQ(slurp(long_comment_path), MEANT);
}

// Each way a fix can fail to reach the disk, or reach it through something other than the file
// itself: the status, the exact diagnostic, what the path holds afterwards and that no temporary
// file is left in the folder.
TEST_F(LintFix, WhatReachesTheDiskAndWhatIsLeftOnFailure) {
    const std::string draft = with(MEANT, {{"\"revision\": 12,", "\"revision\": 12, // было 11"}});
    // Over 4 KiB once fixed: a write beyond a 4 KiB size limit fails half-way.
    const std::string long_draft = draft + std::string(6000, ' ');
    const std::string long_meant = MEANT + std::string(6000, ' ');
    const std::string fixed = "[messages-lint] @: исправлено: удалить комментарий\n";
    struct WriteRow {
        const char* name;
        std::string file;   // the name given, in the test's folder
        std::string bytes;  // what the file holds, or what a writer sends into a FIFO
        enum Kind {
            plain,
            no_stdin,
            few_descriptors,
            read_only_folder,
            immutable_folder,
            size_limit,
            killed_by_limit,
            fifo,
            folder,
            link,
            read_only_file,
            hard_link,
            nobodys_file,
            others_file
        } kind = plain;
        int status;
        std::string err;      // with @ for the path given
        std::string left;     // what the file (a link's target) holds after the run
        std::size_t entries;  // what the file's folder holds after the run
    };
    const std::string long_name = std::string(250, 'n') + ".json";  // 255 bytes, the longest a name can be
    const std::string cyrillic_name = "лента " + std::string(239, 'x') + ".json";  // 255 bytes, two-byte letters first
    const std::vector<WriteRow> rows = {
        {"a name of 255 bytes", long_name, draft, WriteRow::plain, 0, fixed, MEANT, 1},
        {"a name of 255 bytes that begins with Cyrillic letters", cyrillic_name, draft, WriteRow::plain, 0, fixed,
         MEANT, 1},
        {"a name of 247 bytes", std::string(242, 'n') + ".json", draft, WriteRow::plain, 0, fixed, MEANT, 1},
        // Descriptor 0 free: the temporary file may get it.
        {"no standard input at all", "draft.json", draft, WriteRow::no_stdin, 0, fixed, MEANT, 1},
        // Eleven more copies under a limit of 8 descriptors: each file's descriptors are closed.
        {"twelve files and 8 descriptors", "draft.json", draft, WriteRow::few_descriptors, 0, fixed, MEANT, 12},
        // A write of one byte is a whole write.
        {"a document of one byte once fixed", "one.json",
         "\xEF\xBB\xBF"
         "1",
         WriteRow::plain, 1, "[messages-lint] @: исправлено: удалить метку порядка байтов (BOM)\n", "1", 1},
        {"a read-only folder", "draft.json", draft, WriteRow::read_only_folder, 2,
         "[messages-lint] не записываю @: нет прав доступа (ошибка ОС 13); файл оставлен как был\n", draft, 1},
        // The superuser's read-only folder: nothing can be made in it, not even by root.
        {"an immutable folder", "draft.json", draft, WriteRow::immutable_folder, 2,
         "[messages-lint] не записываю @: операция не разрешена (ошибка ОС 1); файл оставлен как был\n", draft, 1},
        {"a write past the size limit", "draft.json", long_draft, WriteRow::size_limit, 2,
         "[messages-lint] не записываю @: файл больше, чем позволено (ошибка ОС 27); файл оставлен как был\n",
         long_draft, 1},
        // Killed half-way (SIGXFSZ at its default): the file keeps its old bytes, and what is left
        // is the hidden temporary beside it, its name cut to fit the folder.
        {"killed half-way", "draft.json", long_draft, WriteRow::killed_by_limit, -SIGXFSZ, "", long_draft, 2},
        {"killed half-way, a name of 255 bytes", long_name, long_draft, WriteRow::killed_by_limit, -SIGXFSZ, "",
         long_draft, 2},
        {"a FIFO in the file's place", "draft.json", draft, WriteRow::fifo, 2,
         "[messages-lint] не записываю @: это не обычный файл (канал, устройство), и исправленный файл на его место "
         "не записать; файл оставлен как был\n",
         "", 1},
        {"a folder in the file's place", "draft.json", "", WriteRow::folder, 2,
         "[messages-lint] не читаю @: это папка, а не файл (ошибка ОС 21)\n", "", 1},
        // The mode says the author wants the file left alone: the superuser leaves it too.
        {"a file its owner may not write", "draft.json", draft, WriteRow::read_only_file, 2,
         "[messages-lint] не записываю @: у владельца нет права записи в этот файл (снимите защиту, chmod u+w, если "
         "файл можно менять); файл оставлен как был\n",
         draft, 1},
        // A replaced file would leave its other names with the old bytes.
        {"a file with a second name", "draft.json", draft, WriteRow::hard_link, 2,
         "[messages-lint] не записываю @: у файла есть другие имена (жёсткие ссылки), а записанный заново файл был "
         "бы только под этим; файл оставлен как был\n",
         draft, 2},
        // Fixed by the superuser, the author's file stays the author's.
        {"another user's file, fixed by root", "draft.json", draft, WriteRow::nobodys_file, 0, fixed, MEANT, 1},
        // In a folder anyone may write, another user's file cannot be given back to its owner.
        {"another user's file in a writable folder", "draft.json", draft, WriteRow::others_file, 2,
         "[messages-lint] не записываю @: файл принадлежит другому пользователю или группе, и записанному заново "
         "файлу их не передать; файл оставлен как был\n",
         draft, 1},
        // The link stays a link, and the file it names gets the fix.
        {"a symbolic link", "link.json", draft, WriteRow::link, 0, fixed, MEANT, 1},
        {"a symbolic link to a long draft", "link.json", long_draft, WriteRow::link, 0, fixed, long_meant, 1},
    };
    for (const WriteRow& row : rows) {
        SCOPED_TRACE(row.name);
        // Rows about other users need the superuser to make them; the superuser writes into a
        // read-only folder anyway, so that row runs as nobody.
        const bool root = ::geteuid() == 0;
        const bool as_nobody = root && (row.kind == WriteRow::read_only_folder || row.kind == WriteRow::others_file);
        if (!root && (row.kind == WriteRow::nobodys_file || row.kind == WriteRow::others_file)) continue;
        // A checkout in a folder only root may enter (/root) leaves nobody nothing to run.
        if (as_nobody && !nobody_can_run_) {
            std::cerr << "skipped as nobody cannot start " << MT_LINT_PATH << ": " << row.name << "\n";
            continue;
        }
        // The file in a folder of its own, away from the folder the program runs in.
        fs::remove_all(dir_);
        const fs::path drafts = dir_ / "drafts";
        fs::create_directories(drafts);
        const std::string path = (row.kind == WriteRow::link ? dir_ / row.file : drafts / row.file).string();
        fs::path holder =
            row.kind == WriteRow::link ? drafts / "draft.json" : fs::path(path);  // whose bytes are checked
        std::thread writer;
        if (row.kind == WriteRow::fifo) {
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
            // The draft arrives through the FIFO when messages-lint opens it; the FIFO must stay one.
            writer = std::thread([path, bytes = row.bytes] {
                for (int tries = 0; tries < 2000; ++tries) {
                    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                    if (fd >= 0) {
                        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
                        EXPECT_EQ(put, static_cast<ssize_t>(bytes.size()));
                        ::close(fd);
                        return;
                    }
                    ::usleep(5000);
                }
                ADD_FAILURE() << "messages-lint never opened the FIFO";
            });
        } else if (row.kind == WriteRow::folder) {
            fs::create_directory(path);
        } else if (row.kind == WriteRow::link) {
            std::ofstream(holder, std::ios::binary) << row.bytes;
            fs::create_symlink("drafts/draft.json", path);
        } else {
            std::ofstream(path, std::ios::binary) << row.bytes;
        }
        if (row.kind == WriteRow::read_only_file) fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
        if (row.kind == WriteRow::hard_link) fs::create_hard_link(path, drafts / "second.json");
        // Another user's: the file, or the folder (with the file too when nobody must read it).
        const bool nobody_owns_file =
            row.kind == WriteRow::nobodys_file || (row.kind == WriteRow::read_only_folder && as_nobody);
        ASSERT_TRUE(!nobody_owns_file || ::chown(path.c_str(), NOBODY, NOBODY) == 0);
        ASSERT_TRUE(!as_nobody || ::chown(drafts.c_str(), NOBODY, NOBODY) == 0);
        std::vector<std::string> args = {"--fix", "--format=json", path};
        std::string err;
        for (int i = 1; row.kind == WriteRow::few_descriptors && i < 12; ++i) {
            args.push_back((drafts / ("copy" + std::to_string(i) + ".json")).string());
            std::ofstream(args.back(), std::ios::binary) << row.bytes;
        }
        for (std::size_t i = 2; i < args.size(); ++i) {
            std::string line = row.err;
            if (const std::size_t at = line.find('@'); at != std::string::npos) line.replace(at, 1, args[i]);
            err += line;
        }
        if (row.kind == WriteRow::read_only_folder)
            fs::permissions(drafts, fs::perms::owner_read | fs::perms::owner_exec);
        if (row.kind == WriteRow::immutable_folder && !set_immutable(drafts, true)) continue;  // needs root and ext4
        // A size limit the started program inherits, with SIGXFSZ ignored so that a write past it
        // fails with EFBIG instead of ending the process.
        struct rlimit before {};
        ::getrlimit(RLIMIT_FSIZE, &before);
        void (*signal_before)(int) = SIG_DFL;
        const bool limited_size = row.kind == WriteRow::size_limit || row.kind == WriteRow::killed_by_limit;
        if (limited_size) {
            signal_before = std::signal(SIGXFSZ, row.kind == WriteRow::size_limit ? SIG_IGN : SIG_DFL);
            struct rlimit limited = before;
            limited.rlim_cur = 4096;
            ::setrlimit(RLIMIT_FSIZE, &limited);
        }
        struct rlimit descriptors_before {};
        ::getrlimit(RLIMIT_NOFILE, &descriptors_before);
        if (row.kind == WriteRow::few_descriptors) {
            struct rlimit limited = descriptors_before;
            limited.rlim_cur = 8;
            ::setrlimit(RLIMIT_NOFILE, &limited);
        }
        const auto run =
            row.kind == WriteRow::no_stdin
                ? run_program(MT_LINT_PATH, {"--now=" + std::to_string(NOW), "--fix", "--format=json", path}, dir_,
                              testing::Stdout::captured, testing::CLOSED_STDIN)
            : as_nobody ? run_program(MT_LINT_PATH, with_now(args), dir_, testing::Stdout::captured, -1, AS_NOBODY)
                        : lint(args);
        ::setrlimit(RLIMIT_NOFILE, &descriptors_before);
        if (limited_size) {
            ::setrlimit(RLIMIT_FSIZE, &before);
            std::signal(SIGXFSZ, signal_before);
        }
        if (writer.joinable()) writer.join();
        if (row.kind == WriteRow::immutable_folder) set_immutable(drafts, false);
        fs::permissions(drafts, fs::perms::owner_all);
        EXPECT_EQ(run.status, row.status) << run;
        EXPECT_EQ(run.err, err);
        if (row.kind == WriteRow::fifo) {
            EXPECT_TRUE(fs::is_fifo(path));
        } else if (row.kind == WriteRow::folder) {
            EXPECT_TRUE(fs::is_directory(path));
        } else {
            EXPECT_EQ(slurp(holder), row.left);
        }
        if (row.kind == WriteRow::link) {
            EXPECT_TRUE(fs::is_symlink(path));
        }
        struct stat info;
        if (row.kind == WriteRow::nobodys_file && ::stat(path.c_str(), &info) == 0) {
            EXPECT_EQ(info.st_uid, NOBODY);
            EXPECT_EQ(info.st_gid, NOBODY);
        }
        if (row.kind == WriteRow::read_only_file) {
            ASSERT_EQ(::stat(path.c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, 0440u);
            fs::permissions(path, fs::perms::owner_all);
        }
        if (row.kind == WriteRow::hard_link) {
            EXPECT_TRUE(fs::equivalent(path, drafts / "second.json"));
        }
        std::vector<std::string> others;
        for (const auto& entry : fs::directory_iterator(holder.parent_path()))
            if (entry.path().filename() != holder.filename()) {
                others.push_back(entry.path().filename().string());
                if (row.kind == WriteRow::few_descriptors) {
                    EXPECT_EQ(slurp(entry.path()), row.left) << others.back();
                }
            }
        EXPECT_EQ(others.size() + 1, row.entries);  // no temporary file is left, unless the process was killed
        if (row.kind == WriteRow::killed_by_limit && others.size() == 1) {
            const std::string hidden = "." + row.file.substr(0, 255 - 8) + ".";
            EXPECT_EQ(others[0].substr(0, hidden.size()), hidden);
            EXPECT_EQ(others[0].size(), hidden.size() + 6) << others[0];
        }
    }
}

}  // namespace
}  // namespace mt::lint
