// The one way a front end changes an author's file: atomically, so that the file holds either
// its old bytes or all of the new ones, whatever happens meanwhile (a full disk, a write that
// fails half-way, a reader or an editor opening it at the same moment). Like ruff and gofmt it
// does not wait for the disk (no fsync): the rename is atomic, and journalling file systems
// keep a file replaced by rename whole across a crash.
#pragma once

#include <string>
#include <string_view>

#include "common/error.h"

namespace mt {

// Writes `bytes` to a new temporary file in the folder of `path`, with the mode of the file at
// `path`, and renames it over `path` (over the file a symbolic link names, the link kept). On
// failure `path` is left as it was and no temporary file remains. Errors: os_error_text. In
// native builds only: the WebAssembly page writes no files.
Result<void> write_file_atomically(const std::string& path, std::string_view bytes);

}  // namespace mt
