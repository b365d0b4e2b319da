// The messages-lint front end: `messages-lint [OPTION]... FILE...` (the options: USAGE_TEXT).
//
// Each file is read under the checking tool's limit (`-` is standard input, read the same way)
// and checked on its own; the problems of all files go to standard output in the chosen
// format. A file that cannot be read is reported on standard error (and as a problem in the
// formats made for programs) and the others are still checked. No key and no signature are
// involved. Exit status: 0 when no file has an error, 1 when any has one, 2 for wrong arguments
// or an unreadable file; warnings never change it. `messages-lint --lsp` is the language server
// for editors instead (lsp/session.h): lint_main runs it over standard input and output.
//
// With --fix, each file within the limit is fixed in place (atomically) and the problems left
// are reported, with the exit status they call for; `-` is then read from standard input and
// written fixed to standard output, and the report goes to standard error. With --diff, nothing
// is written: the change --fix would make is printed as a unified diff, and the exit status is
// 1 when there is one.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "lint/author_zone.h"
#include "lint/report.h"
#include "outcome/outcome.h"

namespace mt::lint {

extern const std::string_view USAGE_TEXT;

// "messages-lint {the project's version}\n".
extern const std::string_view VERSION_TEXT;

enum class ColorMode { automatic, always, never };

// What a run does with the fixes of the problems it finds: only reports them, writes them into
// the files (--fix), or prints the change they would make (--diff).
enum class FixMode { report, fix, diff };

struct Request {
    Format format = Format::human;
    ColorMode color = ColorMode::automatic;
    std::optional<std::int64_t> now;  // --now; none: the clock
    bool warnings = true;
    FixMode fix = FixMode::report;
    bool unsafe_fixes = false;           // --unsafe-fixes: the suggestions too
    bool lsp = false;                    // --lsp: serve the editor's documents instead of files
    std::string stdin_name = "<stdin>";  // how reports name `-`
    std::vector<std::string> files;      // `-` for standard input
    friend bool operator==(const Request&, const Request&) = default;
};

// The arguments after the program's name, or the finished outcome (the usage text, the
// version, a usage error). An argument that begins with "-" is an option, except "-" itself
// (standard input); "--" alone ends the options. An option that takes a value takes it after
// "=" or as the next argument.
std::variant<Request, Outcome> parse_arguments(std::span<const std::string_view> args);

// What a run takes from the process's surroundings.
struct Environment {
    bool stdout_is_terminal = false;
    bool no_color = false;  // NO_COLOR is set
    std::string_view term;  // TERM, "" when unset
    std::int64_t now = 0;   // the clock, in Unix seconds
    AuthorZone zone;        // where a date without a zone is read
};

// Whether the human format is painted: --color=always, or --color=auto (the default) on a
// terminal with NO_COLOR unset and TERM other than "dumb".
bool use_color(ColorMode mode, const Environment& environment);

// The whole run over the raw process arguments (the program's name first, never looked at);
// --lsp is refused here, for it needs the process's streams (lint_main).
Outcome run(std::span<const char* const> argv, const Environment& environment);

// Runs with the process's environment, writes the outcome and returns the exit status.
int lint_main(int argc, const char* const* argv);

}  // namespace mt::lint
