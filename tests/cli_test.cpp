#include "messages-tool/cli.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace mt {
namespace {

const std::string MISSING_PATH = "[messages-tool] check: укажите путь к messages.json\n";

std::string unknown_flag(std::string_view arg) { return "[messages-tool] неизвестный флаг " + std::string(arg) + "\n"; }

struct WalkRow {
    std::vector<std::string_view> args;
    std::variant<CheckRequest, Outcome> expected;
};

TEST(ArgumentWalk, DispatchFlagsAndSignaturePath) {
    const std::string help(HELP_TEXT);
    const std::vector<WalkRow> rows = {
        {{}, Outcome{0, help, ""}},
        {{"--help"}, Outcome{1, help, ""}},
        {{"-h"}, Outcome{1, help, ""}},
        {{"CHECK"}, Outcome{1, help, ""}},
        {{"check "}, Outcome{1, help, ""}},
        {{""}, Outcome{1, help, ""}},
        {{"help", "check", "f"}, Outcome{1, help, ""}},
        {{"check"}, Outcome{2, "", MISSING_PATH}},
        {{"check", "--sig", "s.sig"}, Outcome{2, "", MISSING_PATH}},
        {{"check", "--sig", "s.sig", "--sig"}, Outcome{2, "", MISSING_PATH}},
        {{"check", "f", "--verbose"}, Outcome{2, "", unknown_flag("--verbose")}},
        {{"check", "--", "f"}, Outcome{2, "", unknown_flag("--")}},
        {{"check", "--sig=s.sig", "f"}, Outcome{2, "", unknown_flag("--sig=s.sig")}},
        // The walk stops at the first unknown flag, before it would notice a missing path.
        {{"check", "--x", "--sig"}, Outcome{2, "", unknown_flag("--x")}},
        {{"check", "f"}, CheckRequest{"f", "f.sig"}},
        {{"check", "feed.json"}, CheckRequest{"feed.json", "feed.json.sig"}},
        {{"check", "--sig", "s.sig", "f"}, CheckRequest{"f", "s.sig"}},
        {{"check", "f", "--sig", "s.sig"}, CheckRequest{"f", "s.sig"}},
        {{"check", "a.json", "b.json"}, CheckRequest{"a.json", "a.json.sig"}},
        {{"check", "f", "--sig"}, CheckRequest{"f", "f.sig"}},
        {{"check", "f", "--sig", "x.sig", "--sig"}, CheckRequest{"f", "f.sig"}},
        {{"check", "f", "--sig", "x.sig", "--sig", "y.sig"}, CheckRequest{"f", "y.sig"}},
        {{"check", "--sig", "--x", "f"}, CheckRequest{"f", "--x"}},
        {{"check", "--sig", "--sig", "f"}, CheckRequest{"f", "--sig"}},
        {{"check", "--sig", "", "f"}, CheckRequest{"f", ""}},
        {{"check", "-"}, CheckRequest{"-", "-.sig"}},
        {{"check", "-h", "--sig", "s"}, CheckRequest{"-h", "s"}},
        {{"check", "", "f"}, CheckRequest{"", ".sig"}},
        {{"check", "a", "--later-flag"}, Outcome{2, "", unknown_flag("--later-flag")}},
    };
    for (const WalkRow& row : rows) {
        std::string shown;
        for (auto arg : row.args) shown += "[" + std::string(arg) + "]";
        EXPECT_EQ(parse_arguments(row.args), row.expected) << shown;
    }
}

TEST(ArgumentWalk, EveryArgumentMustBeUtf8BeforeAnythingHappens) {
    struct Row {
        std::vector<const char*> argv;
        std::string err;
    };
    const std::vector<Row> rows = {
        {{"messages-tool", "\xff"}, "[messages-tool] аргумент 1 не в UTF-8\n"},
        {{"messages-tool", "check", "\xc0\x80"}, "[messages-tool] аргумент 2 не в UTF-8\n"},           // overlong NUL
        {{"messages-tool", "check", "f", "\xed\xa0\x80"}, "[messages-tool] аргумент 3 не в UTF-8\n"},  // surrogate
        {{"messages-tool", "check", "--verbose", "ok", "\xe2\x82"}, "[messages-tool] аргумент 4 не в UTF-8\n"},
    };
    for (const Row& row : rows) EXPECT_EQ(run(row.argv), (Outcome{2, "", row.err})) << row.err;
    // The program's own name is never used and never checked.
    const std::vector<const char*> bad_name = {"\xff", "--help"};
    EXPECT_EQ(run(bad_name), (Outcome{1, std::string(HELP_TEXT), ""}));
}

}  // namespace
}  // namespace mt
