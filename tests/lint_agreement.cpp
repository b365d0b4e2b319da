// The draft checker's central promise, over every document in the given directories: each is
// signed here with the development seed and checked by the development-key tool, and read by
// messages-lint as it stands. The two must agree on the verdict, and lint's first problem must
// carry exactly the text the tool prints after its rejection prefix (or, for an oversize file,
// the tool's whole line without its own prefix).
//   lint_agreement [--sample N] TOOL LINT DIR...
// With --sample N (N > 0), only N documents spread evenly over the sorted list are checked: the
// same ones every run, for builds where each program start is slow (an emulator, sanitizers).
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "support/dev_signer.h"
#include "support/run_program.h"

namespace fs = std::filesystem;

namespace {

// The "text" of the first JSON line that messages-lint wrote (it escapes only these).
std::string first_text(const std::string& json_lines) {
    const std::string key = "\"text\":\"";
    const std::size_t line_end = json_lines.find('\n');
    std::size_t at = json_lines.find(key);
    if (at == std::string::npos || at > line_end) return "<no text>";
    std::string text;
    for (at += key.size(); at < json_lines.size() && json_lines[at] != '"'; ++at) {
        if (json_lines[at] != '\\') {
            text += json_lines[at];
            continue;
        }
        const char escaped = json_lines[++at];
        if (escaped == 'n')
            text += '\n';
        else if (escaped == 'r')
            text += '\r';
        else if (escaped == 't')
            text += '\t';
        else if (escaped == 'u') {
            text += static_cast<char>(std::stoi(json_lines.substr(at + 1, 4), nullptr, 16));
            at += 4;
        } else
            text += escaped;
    }
    return text;
}

// The tool's verdict in lint's terms: "" when accepted, else the text lint must put first.
std::string tool_verdict(const mt::testing::ProgramRun& tool) {
    if (tool.status == 0) return "";
    std::string line = tool.err;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    for (const std::string prefix : {"[messages-tool] ЛЕНТА ОТКЛОНЕНА: ", "[messages-tool] "})
        if (line.starts_with(prefix)) return line.substr(prefix.size());
    return "<unexpected: " + line + ">";
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t sample = 0;
    if (argc > 2 && std::string_view(argv[1]) == "--sample") {
        sample = std::stoul(argv[2]);
        argc -= 2;
        argv += 2;
    }
    if (argc < 4) {
        std::cerr << "usage: lint_agreement [--sample N] TOOL LINT DIR...\n";
        return 2;
    }
    const std::string tool = argv[1], lint = argv[2];
    const fs::path scratch = fs::temp_directory_path() / ("lint_agreement." + std::to_string(::getpid()));
    fs::create_directories(scratch);
    const fs::path sig = scratch / "document.sig";

    std::vector<fs::path> documents;
    for (int i = 3; i < argc; ++i)
        for (const auto& entry : fs::recursive_directory_iterator(argv[i]))
            if (entry.is_regular_file() && entry.path().extension() != ".sig") documents.push_back(entry.path());
    std::sort(documents.begin(), documents.end());
    if (sample > 0 && documents.size() > sample) {
        std::vector<fs::path> spread;
        for (std::size_t i = 0; i < sample; ++i) spread.push_back(documents[i * documents.size() / sample]);
        documents = std::move(spread);
    }

    std::size_t passed = 0, failed = 0;
    for (const fs::path& document : documents) {
        std::ofstream(sig, std::ios::binary) << mt::testing::dev_sign_hex(mt::testing::slurp(document)) << '\n';
        const auto checked =
            mt::testing::run_program(tool, {"check", document.string(), "--sig", sig.string()}, scratch);
        const auto linted = mt::testing::run_program(lint, {"--format=json", document.string()}, scratch);
        const std::string expected = tool_verdict(checked);
        // A clean exit may still list warnings, which are no part of the verdict.
        const std::string got = linted.status == 0 ? "" : first_text(linted.out);
        const bool status_agrees =
            (checked.status == 0 && linted.status == 0) || (checked.status == 1 && linted.status == 1);
        if (status_agrees && got == expected) {
            ++passed;
            continue;
        }
        ++failed;
        std::cerr << "DISAGREE " << document << "\n  tool (" << checked.status << "): " << expected << "\n  lint ("
                  << linted.status << "): " << got << "\n";
    }
    fs::remove_all(scratch);
    std::cout << "lint agreement over " << documents.size() << " documents\n"
              << passed << " passed, " << failed << " failed\n";
    return failed == 0 && !documents.empty() ? 0 : 1;
}
