// How a run of a front end ends, and the one writer of it: what goes to standard output and
// standard error, and the exit status. Shared by the front ends, which never include each other.
#pragma once

#include <string>
#include <string_view>

#include "common/error.h"

namespace mt {

struct Outcome {
    int status = 0;
    std::string out;
    std::string err;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

// Writes all of `text` to `fd`, retrying interrupted and short writes. Errors: os_error_text.
Result<void> write_all(int fd, std::string_view text);

// Writes the outcome to standard output, then standard error, and returns its exit status.
// SIGPIPE is ignored first, so that a closed pipe surfaces as a failed write: a failed write to
// standard output is reported on standard error as "{prefix}не пишу в stdout: {error}" and
// ends with status 2, never 0.
int write_outcome(const Outcome& outcome, std::string_view prefix);

}  // namespace mt
