// The messages-lint front end: `messages-lint [--format=human|json|github] FILE...`.
//
// Each file is read under the checking tool's limit and checked on its own; its problems go to
// standard output in the chosen format, a file that cannot be read is reported on standard
// error and the others are still checked. No key and no signature are involved. Exit status: 0
// when every file passes, 1 when any has a problem, 2 for wrong arguments or an unreadable file.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "messages-lint/report.h"

namespace mt::lint {

extern const std::string_view USAGE_TEXT;

struct Request {
    Format format = Format::human;
    std::vector<std::string> files;
    friend bool operator==(const Request&, const Request&) = default;
};

// A run that ends without checking anything: the usage text or a usage error.
struct Stop {
    int status = 0;
    std::string out;
    std::string err;
    friend bool operator==(const Stop&, const Stop&) = default;
};

// The arguments after the program's name. Flags begin with "--"; "--" alone ends them.
std::variant<Request, Stop> parse_arguments(std::span<const std::string_view> args);

// The outcome of checking one file: its report for standard output, or the line for standard
// error when it cannot be read.
struct FileOutcome {
    bool readable = true;
    bool passed = true;
    std::string out;
    std::string err;
};
FileOutcome lint_file(const std::string& path, Format format, bool color);

// The whole run over the raw process arguments; writes as it goes and returns the exit status.
int lint_main(int argc, const char* const* argv);

}  // namespace mt::lint
