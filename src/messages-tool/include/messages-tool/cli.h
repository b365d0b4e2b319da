// The messages-tool front end: argument walk, bounded reads of the feed and its signature, the
// one call of verify_feed, and what the run prints and exits with.
//
// Every step returns a value; only tool_main touches the process (signals, file descriptors 1
// and 2, exit status). Paths are used exactly as given: no expansion, and "-" is a file name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "common/error.h"
#include "outcome/outcome.h"

namespace mt {

extern const std::string_view HELP_TEXT;

// What to check: the feed path and the signature path (given with --sig or derived from the feed).
struct CheckRequest {
    std::string file;
    std::string sig;
    friend bool operator==(const CheckRequest&, const CheckRequest&) = default;
};

// The arguments after the program's name, walked from left to right: either what to check, or
// the finished outcome (help text, unknown flag, missing path). Reads nothing.
std::variant<CheckRequest, Outcome> parse_arguments(std::span<const std::string_view> args);

// Reads both files under their limits, calls verify_feed once and words the result.
Outcome run_check(const CheckRequest& request);

// The whole run over the raw process arguments (the program's name first, never looked at):
// every argument must be UTF-8 before anything else happens.
Outcome run(std::span<const char* const> argv);

// Ignores SIGPIPE, runs, writes the outcome and returns the exit status. A failed write to
// standard output is reported on standard error and never ends with status 0.
int tool_main(int argc, const char* const* argv);

}  // namespace mt
