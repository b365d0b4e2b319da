// Why an input file could not be read, or a fixed one could not replace it: a value each
// program words in its own language (the checker quotes the operating system's words, the
// authors' checker says it in Russian).
#pragma once

#include <expected>

namespace mt {

enum class FileFailure : unsigned char {
    os_error,        // the operating system refused: `code` is its error number
    not_regular,     // a fixed file would replace something that is no regular file (a FIFO, a device)
    read_only,       // the file's mode gives its owner no right to write it
    hard_links,      // the file has other names, which a replaced file would no longer share
    owner_not_kept,  // the replacement cannot be given the file's owner and group
};

struct FileError {
    FileFailure failure = FileFailure::os_error;
    int code = 0;
    friend bool operator==(const FileError&, const FileError&) = default;
};

template <class T>
using FileResult = std::expected<T, FileError>;

inline std::unexpected<FileError> os_failure(int code) {
    return std::unexpected(FileError{FileFailure::os_error, code});
}

}  // namespace mt
