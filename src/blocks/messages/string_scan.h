// The vector scan of plain string content that the reader uses. Internal to the messages
// block; its scalar twin lives with the tests, which hold the two to the same answers.
#pragma once

#include <cstddef>
#include <string_view>

namespace mt {

// The run of plain string content that starts at `from`: it ends at the first quotation mark,
// backslash or byte below 0x20, or at the end of `bytes`. `valid_utf8` true proves the run
// (and its stop byte) well-formed UTF-8; false proves nothing, and the caller checks.
struct PlainRun {
    std::size_t end;
    bool valid_utf8;
};

// Sixteen bytes at a time.
PlainRun plain_run(std::string_view bytes, std::size_t from);

}  // namespace mt
