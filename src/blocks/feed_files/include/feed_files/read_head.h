// The bounded read of an input file: never more than a cap, whatever the path names (a
// regular file, a pipe, a device that never ends).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "feed_files/file_error.h"

namespace mt {

// The start of a file: at most `cap` bytes, and its length as far as it is known. `length`
// equals bytes.size() unless `cap` bytes were read from a regular file, whose full length then
// comes from its metadata; a pipe or device is never read past `cap`, so it is taken to be no
// longer than that.
struct FileHead {
    std::string bytes;
    std::uint64_t length = 0;
};

// Opens `path` read-only, reads until end of file or `cap` bytes (retrying interrupted reads)
// and closes it. Errors: the operating system's.
FileResult<FileHead> read_head(const std::string& path, std::size_t cap);

// The same read from a descriptor that is already open (standard input), which stays open.
FileResult<FileHead> read_head(int fd, std::size_t cap);

}  // namespace mt
