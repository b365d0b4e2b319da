// Process I/O shared by the front ends (the checking tool and the draft checker): the bounded
// read of a file, whole writes to a descriptor, and the operating system's error texts. Both
// front ends read a feed through the same cap and refuse an oversize one with the same line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/error.h"

namespace mt {

// The largest feed file that is passed on; a feed is read through a cap of one byte more.
inline constexpr std::size_t MAX_FEED_BYTES = 65536;

// "{description} (os error {code})" for an error number.
std::string os_error_text(int code);

// The start of a file: at most `cap` bytes, and its length as far as it is known. `length`
// equals bytes.size() unless `cap` bytes were read from a regular file, whose full length then
// comes from its metadata; a pipe or device is never read past `cap`, so it is taken to be no
// longer than that.
struct FileHead {
    std::string bytes;
    std::uint64_t length = 0;
};

// Opens `path` read-only, reads until end of file or `cap` bytes (retrying interrupted reads)
// and closes it. Errors: os_error_text.
Result<FileHead> read_head(const std::string& path, std::size_t cap);

// The refusal of a feed file of which `size` bytes (more than MAX_FEED_BYTES) were read:
// "{path} — {size} байт больше 64 КиБ, отклонено до парсинга", the path as given.
std::string feed_too_large_text(std::string_view path, std::size_t size);

// Writes all of `text` to `fd`, retrying interrupted and short writes. Errors: os_error_text.
Result<void> write_all(int fd, std::string_view text);

// How a run ends: what goes to standard output and standard error, and the exit status.
struct Outcome {
    int status = 0;
    std::string out;
    std::string err;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

// Writes the outcome to standard output, then standard error, and returns its exit status.
// SIGPIPE is ignored first, so that a closed pipe surfaces as a failed write: a failed write to
// standard output is reported on standard error as "{prefix}не пишу в stdout: {error}" and
// ends with status 2, never 0.
int write_outcome(const Outcome& outcome, std::string_view prefix);

}  // namespace mt
