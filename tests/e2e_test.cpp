// Runs the built messages-tool (and its two variants with keys that must refuse everything) in a
// scratch directory and compares both streams and the exit status byte for byte.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "support/dev_signer.h"
#include "support/run_program.h"

namespace mt {
namespace {

namespace fs = std::filesystem;

const std::string HELP =
    "messages-tool — безопасная проверка подписанной ленты сообщений Orvenda\n"
    "\n"
    "check FILE [--sig FILE.sig]\n"
    "        Проверить ленту ровно так же, как приложение: Ed25519\n"
    "        verify_strict над точными байтами FILE вшитым боевым публичным\n"
    "        ключом (MODELS_PUBKEY_HEX) + строгая схема (schema 1,\n"
    "        revision >= 1, <= 64 КиБ, <= 50 сообщений, CTA-allowlist).\n"
    "        --sig не задан → подпись ищется в FILE.sig (создаёт\n"
    "        `models-tool sign --key PATH FILE`). Приватный ключ не нужен.\n"
    "        stdout: только revision, количество сообщений и их id.\n"
    "        Ошибка → ненулевой код выхода. Ничего не пишет и не публикует.\n";

const std::string FEED =
    R"({"schema":1,"revision":42,"messages":[)"
    R"({"id":"spring-sale","priority":1,"title":"Весна","body":"Скидки","start_at":1,"end_at":2},)"
    R"({"id":"update_3","priority":0,"title":"Обновление","body":"Вышла 2.4.0","start_at":1,"end_at":2}]})";
const std::string SUMMARY = "revision: 42\nсообщений: 2\n  id: spring-sale\n  id: update_3\n";
const std::string NO_MESSAGES = R"({"schema":1,"revision":7,"messages":[]})";
const std::string REJECTED = "[messages-tool] ЛЕНТА ОТКЛОНЕНА: messages: подпись ленты не подтверждена — отклонена\n";

using testing::CLOSED_STDIN;
using testing::slurp;
using testing::Stdout;
using ToolRun = testing::ProgramRun;

void put(const fs::path& path, const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

ToolRun spawn(const std::string& tool, const std::vector<std::string>& args, const fs::path& cwd,
              Stdout out_mode = Stdout::captured, int stdin_fd = -1) {
    return testing::run_program(tool, args, cwd, out_mode, stdin_fd);
}

class ToolTest : public ::testing::Test {
  protected:
    // One scratch tree for the suite: <root>/work is the working directory of every run.
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/messages-tool-e2e-XXXXXX";
        root_ = ::mkdtemp(pattern);
        work_ = root_ / "work";
        fs::create_directory(work_);
        fs::create_directory(work_ / "dir");

        const std::string sig = testing::dev_sign_hex(FEED);
        const auto signed_feed = [&](const std::string& name, const std::string& bytes) {
            put(work_ / name, bytes);
            put(work_ / (name + ".sig"), testing::dev_sign_hex(bytes) + "\n");
        };
        signed_feed("feed.json", FEED);
        signed_feed("-", FEED);
        signed_feed("plain", FEED);
        signed_feed("empty.json", "");
        signed_feed("none.json", NO_MESSAGES);
        signed_feed("max.json", FEED + std::string(MAX_FEED - FEED.size(), ' '));
        put(work_ / "over.json", FEED + std::string(MAX_FEED + 1 - FEED.size(), ' '));  // no signature on purpose
        put(work_ / "huge.json", std::string(1 << 20, '{'));
        put(work_ / "nosig.json", FEED);

        put(work_ / "good.sig", sig);
        put(work_ / "--x", sig);
        put(work_ / "bad.sig", testing::dev_sign_hex(FEED + "\n"));
        put(work_ / "sig512", sig + std::string(512 - sig.size(), ' '));
        put(work_ / "sig513", sig + std::string(513 - sig.size(), ' '));
        put(work_ / "sig100k", std::string(100000, 'a'));
        put(work_ / "crlf.sig", sig + "\r\n");
        put(work_ / "blanks.sig", " \t " + sig + "  ");
        put(work_ / "nbsp.sig", "\u00a0\u3000" + sig + "\u00a0");
        put(work_ / "raw-a0.sig", sig + "\xa0");  // not UTF-8: becomes U+FFFD, which is no white space
        put(work_ / "empty.sig", "");
    }
    static void TearDownTestSuite() { fs::remove_all(root_); }

    static ToolRun check(const std::vector<std::string>& args, Stdout out_mode = Stdout::captured, int stdin_fd = -1) {
        return spawn(MT_TOOL_PATH, args, work_, out_mode, stdin_fd);
    }

    static constexpr std::size_t MAX_FEED = 65536;
    static inline fs::path root_, work_;
};

struct Row {
    std::vector<std::string> args;
    ToolRun expected;
};

std::string line(const std::string& text) { return "[messages-tool] " + text + "\n"; }

TEST_F(ToolTest, ArgumentsDecideWhatIsRead) {
    const std::vector<Row> rows = {
        {{}, {0, HELP, ""}},
        {{"--help"}, {1, HELP, ""}},
        {{"-h"}, {1, HELP, ""}},
        {{"help"}, {1, HELP, ""}},
        {{"CHECK", "feed.json"}, {1, HELP, ""}},
        {{""}, {1, HELP, ""}},
        {{"check"}, {2, "", line("check: укажите путь к messages.json")}},
        {{"check", "--sig", "good.sig"}, {2, "", line("check: укажите путь к messages.json")}},
        // An unknown flag ends the run before any file is opened, even a missing one.
        {{"check", "missing.json", "--verbose"}, {2, "", line("неизвестный флаг --verbose")}},
        {{"check", "--", "feed.json"}, {2, "", line("неизвестный флаг --")}},
        {{"check", "--sig=good.sig", "feed.json"}, {2, "", line("неизвестный флаг --sig=good.sig")}},
        {{"check", "feed.json"}, {0, SUMMARY, ""}},
        {{"check", "--sig", "good.sig", "feed.json"}, {0, SUMMARY, ""}},
        {{"check", "feed.json", "--sig", "good.sig"}, {0, SUMMARY, ""}},
        {{"check", "feed.json", "--sig", "bad.sig"}, {1, "", REJECTED}},
        {{"check", "feed.json", "missing.json"}, {0, SUMMARY, ""}},
        {{"check", "feed.json", "--sig"}, {0, SUMMARY, ""}},
        {{"check", "feed.json", "--sig", "bad.sig", "--sig"}, {0, SUMMARY, ""}},
        {{"check", "feed.json", "--sig", "bad.sig", "--sig", "good.sig"}, {0, SUMMARY, ""}},
        {{"check", "--sig", "--x", "feed.json"}, {0, SUMMARY, ""}},
        {{"check", "-"}, {0, SUMMARY, ""}},
        {{"check", "plain"}, {0, SUMMARY, ""}},
        {{"check", "-h"}, {2, "", line("не читаю -h: No such file or directory (os error 2)")}},
        {{"check", ""}, {2, "", line("не читаю : No such file or directory (os error 2)")}},
        {{"check", "feed.json", "\xff"}, {2, "", line("аргумент 3 не в UTF-8")}},
        // Paths stay on one line and cannot drive the terminal.
        {{"check", "new\nline\x1b[2J"},
         {2, "", line("не читаю new\\nline\\u{1b}[2J: No such file or directory (os error 2)")}},
        // Anything else stands as given: a decomposed accent, as macOS spells file names.
        {{"check", "cafe\u0301.json"},
         {2, "", line("не читаю cafe\u0301.json: No such file or directory (os error 2)")}},
    };
    for (const Row& row : rows) {
        std::string shown;
        for (const auto& arg : row.args) shown += "[" + arg + "]";
        EXPECT_EQ(check(row.args), row.expected) << shown;
    }
}

TEST_F(ToolTest, FilesAreReadUnderTheirLimits) {
    const std::vector<Row> rows = {
        {{"check", "missing.json"}, {2, "", line("не читаю missing.json: No such file or directory (os error 2)")}},
        {{"check", "dir"}, {2, "", line("не читаю dir: Is a directory (os error 21)")}},
        {{"check", "nosig.json"},
         {2, "", line("не читаю подпись nosig.json.sig: No such file or directory (os error 2)")}},
        {{"check", "feed.json", "--sig", "dir"}, {2, "", line("не читаю подпись dir: Is a directory (os error 21)")}},
        {{"check", "max.json"}, {0, SUMMARY, ""}},
        // Oversize feeds are refused before their (missing) signature file is looked for.
        {{"check", "over.json"}, {1, "", line("over.json — 65537 байт больше 64 КиБ, отклонено до парсинга")}},
        {{"check", "huge.json"}, {1, "", line("huge.json — 65537 байт больше 64 КиБ, отклонено до парсинга")}},
        {{"check", "/dev/zero"}, {1, "", line("/dev/zero — 65537 байт больше 64 КиБ, отклонено до парсинга")}},
        {{"check", "feed.json", "--sig", "sig512"}, {0, SUMMARY, ""}},
        {{"check", "feed.json", "--sig", "sig513"},
         {1, "", line("sig513 — 513 байт больше 512, не похоже на подпись")}},
        {{"check", "feed.json", "--sig", "sig100k"},
         {1, "", line("sig100k — 100000 байт больше 512, не похоже на подпись")}},
        {{"check", "feed.json", "--sig", "/dev/zero"},
         {1, "", line("/dev/zero — 513 байт больше 512, не похоже на подпись")}},
        {{"check", "feed.json", "--sig", "crlf.sig"}, {0, SUMMARY, ""}},
        {{"check", "feed.json", "--sig", "blanks.sig"}, {0, SUMMARY, ""}},
        {{"check", "feed.json", "--sig", "nbsp.sig"}, {0, SUMMARY, ""}},
        {{"check", "feed.json", "--sig", "raw-a0.sig"}, {1, "", REJECTED}},
        {{"check", "feed.json", "--sig", "empty.sig"}, {1, "", REJECTED}},
        {{"check", "empty.json"},
         {1, "",
          line("ЛЕНТА ОТКЛОНЕНА: messages: JSON ленты не разбирается: EOF while parsing a value at line 1 column 0")}},
        {{"check", "none.json"}, {0, "revision: 7\nсообщений: 0\n", ""}},
    };
    for (const Row& row : rows) EXPECT_EQ(check(row.args), row.expected) << row.args.back();
}

TEST_F(ToolTest, ClosedStandardInputLeavesTheFeedReadable) {
    // The feed then opens as descriptor 0, which must be read like any other.
    EXPECT_EQ(check({"check", "feed.json"}, Stdout::captured, CLOSED_STDIN), (ToolRun{0, SUMMARY, ""}));
}

TEST_F(ToolTest, EndlessPipeAsSignatureIsCutAfterItsLimit) {
    int pipe_fds[2];
    ASSERT_TRUE(testing::cloexec_pipe(pipe_fds));
    const std::string chunk(600, 'a');
    ASSERT_EQ(::write(pipe_fds[1], chunk.data(), chunk.size()), 600);
    // The write end stays open while the tool runs: the pipe never ends.
    const ToolRun run = check({"check", "feed.json", "--sig", "/dev/stdin"}, Stdout::captured, pipe_fds[0]);
    ::close(pipe_fds[0]);
    ::close(pipe_fds[1]);
    EXPECT_EQ(run, (ToolRun{1, "", line("/dev/stdin — 513 байт больше 512, не похоже на подпись")}));
}

TEST_F(ToolTest, FailedWritesNeverEndInSuccess) {
    EXPECT_EQ(check({"check", "feed.json"}, Stdout::closed_pipe),
              (ToolRun{2, "", line("не пишу в stdout: Broken pipe (os error 32)")}));
}

TEST_F(ToolTest, FullDiskIsReported) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    EXPECT_EQ(check({"check", "feed.json"}, Stdout::dev_full),
              (ToolRun{2, "", line("не пишу в stdout: No space left on device (os error 28)")}));
    EXPECT_EQ(check({}, Stdout::dev_full),
              (ToolRun{2, "", line("не пишу в stdout: No space left on device (os error 28)")}));
    // Nothing goes to standard output on a refusal, so a full disk there changes nothing.
    EXPECT_EQ(check({"check", "missing.json"}, Stdout::dev_full),
              (ToolRun{2, "", line("не читаю missing.json: No such file or directory (os error 2)")}));
}

TEST_F(ToolTest, ToolsWithUnusableKeysRefuseEveryFeed) {
    // With the neutral element as key and signature R = neutral element, S = 0, the unreduced
    // cofactorless equation holds for any message; only the small-order checks refuse it.
    put(work_ / "neutral.sig", "01" + std::string(126, '0'));
    const std::string models_line = "[models] публичный ключ не hex/32 байта — каталог отклонён\n";
    EXPECT_EQ(spawn(MT_TOOL_KEY63_PATH, {"check", "feed.json"}, work_), (ToolRun{1, "", models_line + REJECTED}));
    EXPECT_EQ(spawn(MT_TOOL_NEUTRAL_KEY_PATH, {"check", "feed.json"}, work_), (ToolRun{1, "", REJECTED}));
    EXPECT_EQ(spawn(MT_TOOL_NEUTRAL_KEY_PATH, {"check", "feed.json", "--sig", "neutral.sig"}, work_),
              (ToolRun{1, "", REJECTED}));
    // The help text needs no key at all.
    EXPECT_EQ(spawn(MT_TOOL_KEY63_PATH, {}, work_), (ToolRun{0, HELP, ""}));
}

TEST_F(ToolTest, ConfiguredToolAcceptsTheDevelopmentKeyOnlyWhenItCarriesIt) {
    const ToolRun expected = MT_CONFIGURED_KEY_IS_DEV ? ToolRun{0, SUMMARY, ""} : ToolRun{1, "", REJECTED};
    EXPECT_EQ(spawn(MT_CONFIGURED_TOOL_PATH, {"check", "feed.json"}, work_), expected);
}

TEST_F(ToolTest, ShippedExampleIsAccepted) {
    // Guards the example against an edit that was not signed again.
    EXPECT_EQ(spawn(MT_TOOL_PATH, {"check", MT_EXAMPLE_FEED}, work_),
              (ToolRun{0,
                       "revision: 12\nсообщений: 4\n  id: update-2-4\n  id: dark-theme\n  id: license_renewal\n"
                       "  id: new-year-hours\n",
                       ""}));
}

}  // namespace
}  // namespace mt
