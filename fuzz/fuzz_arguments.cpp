// The argument walk on any argument list (the input split at NUL bytes): it ends in a check
// request or a finished outcome with a known status, one diagnostic line at most, and help text
// only on standard output. Lists with a non-UTF-8 argument go through the whole run, which must
// stop before it opens any file.
#include <algorithm>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "common/utf8.h"
#include "invariants.h"
#include "messages-tool/cli.h"

using namespace mt::fuzz;

namespace {

void check_outcome(const mt::Outcome& outcome) {
    require(outcome.status >= 0 && outcome.status <= 2, "known status");
    if (outcome.err.empty()) {
        require(outcome.out == mt::HELP_TEXT, "standard output carries only the help text");
        return;
    }
    require(outcome.out.empty(), "a diagnostic writes nothing on standard output");
    require(outcome.status == 2, "usage errors end with 2", outcome.err);
    require(outcome.err.back() == '\n' && is_one_line(std::string_view(outcome.err).substr(0, outcome.err.size() - 1)),
            "one diagnostic line", outcome.err);
    require(starts_with(outcome.err, "[messages-tool] "), "diagnostic prefix", outcome.err);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> storage;
    std::string_view rest = as_text(data, size);
    while (true) {
        const std::size_t end = rest.find('\0');
        storage.emplace_back(rest.substr(0, end));
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }

    bool all_utf8 = true;
    for (const std::string& arg : storage) all_utf8 = all_utf8 && mt::is_valid_utf8(arg);
    if (!all_utf8) {
        std::vector<const char*> argv{"messages-tool"};
        for (const std::string& arg : storage) argv.push_back(arg.c_str());
        const mt::Outcome outcome = mt::run(argv);
        check_outcome(outcome);
        require(outcome.err.find("не в UTF-8") != std::string::npos, "non-UTF-8 refused first", outcome.err);
        return 0;
    }

    const std::vector<std::string_view> args(storage.begin(), storage.end());
    const auto parsed = mt::parse_arguments(args);
    if (const auto* outcome = std::get_if<mt::Outcome>(&parsed)) {
        check_outcome(*outcome);
        return 0;
    }
    const auto& request = std::get<mt::CheckRequest>(parsed);
    require(args.size() >= 2 && args[0] == "check", "a request needs the command and a path");
    const bool derived = request.sig == request.file + ".sig";
    const bool given = std::find(args.begin(), args.end(), request.sig) != args.end();
    require(derived || given, "the signature path is derived or given", request.sig);
    require(std::find(args.begin() + 1, args.end(), request.file) != args.end(), "the feed path is an argument");
    return 0;
}
