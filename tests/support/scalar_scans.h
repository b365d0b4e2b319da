// The reference twins of the reader's fast scans: the plainest code with the same contract, one
// byte or one character at a time. Tests and fuzzers hold the fast scans to their answers.
#pragma once

#include <cstddef>
#include <string_view>

#include "messages_internal.h"

namespace mt::testing {

// plain_run's twin: the end found one byte at a time, and `valid_utf8` exactly whether the run
// (with its stop byte) is well-formed.
PlainRun plain_run_scalar(std::string_view bytes, std::size_t from);

// examine_text's twin: characters counted and controls looked for one character at a time.
TextFacts examine_text_scalar(std::string_view text);

}  // namespace mt::testing
