// The one way a front end changes an author's file: atomically, so that the file holds either
// its old bytes or all of the new ones, whatever happens meanwhile (a full disk, a write that
// fails half-way, a reader or an editor opening it at the same moment). Like ruff and gofmt it
// does not wait for the disk (no fsync): the rename is atomic, and journalling file systems
// keep a file replaced by rename whole across a crash.
//
// A replaced file is a new file under the old name, so what belongs to the old one must carry
// over or the write is refused: its mode, its owner and its group. A file its owner may not
// write is refused, by the superuser too (the mode says the author wants it left alone), and
// so is a file with more than one name (the other names would keep the old bytes).
#pragma once

#include <string>
#include <string_view>

#include "feed_files/file_error.h"

namespace mt {

// Writes `bytes` to a new temporary file in the folder of `path`, with the mode, owner and group
// of the file at `path`, and renames it over `path` (over the file a symbolic link names, the
// link kept). On failure `path` is left as it was and no temporary file remains. In native
// builds only: the WebAssembly page writes no files.
FileResult<void> write_file_atomically(const std::string& path, std::string_view bytes);

}  // namespace mt
