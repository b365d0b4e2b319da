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

#include "lint/report.h"
#include "outcome/outcome.h"

namespace mt::lint {

extern const std::string_view USAGE_TEXT;

struct Request {
    Format format = Format::human;
    std::vector<std::string> files;
    friend bool operator==(const Request&, const Request&) = default;
};

// The arguments after the program's name, or the finished outcome (the usage text, a usage
// error). Flags begin with "--"; "--" alone ends them.
std::variant<Request, Outcome> parse_arguments(std::span<const std::string_view> args);

// The whole run over the raw process arguments (the program's name first, never looked at).
// `color` asks for colour in the human format.
Outcome run(std::span<const char* const> argv, bool color);

// Ignores SIGPIPE, runs (with colour when standard output is a terminal and NO_COLOR is unset),
// writes the outcome and returns the exit status.
int lint_main(int argc, const char* const* argv);

}  // namespace mt::lint
