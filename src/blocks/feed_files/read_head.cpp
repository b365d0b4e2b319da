#include "feed_files/read_head.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mt {

FileResult<FileHead> read_head(const std::string& path, std::size_t cap) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return os_failure(errno);
    auto head = read_head(fd, cap);
    ::close(fd);
    return head;
}

FileResult<FileHead> read_head(int fd, std::size_t cap) {
    FileHead head;
    head.bytes.resize(cap);
    std::size_t filled = 0;
    int error = 0;
    while (filled < cap) {
        const ssize_t got = ::read(fd, head.bytes.data() + filled, cap - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) error = errno;
        if (got <= 0) break;
        filled += static_cast<std::size_t>(got);
    }
    head.bytes.resize(filled);
    head.length = filled;
    // Only a regular file has a known length beyond what was read; a device or pipe may never end.
    struct stat info;
    if (!error && filled == cap && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uint64_t>(info.st_size) > head.length)
        head.length = static_cast<std::uint64_t>(info.st_size);
    if (error) return os_failure(error);
    return head;
}

}  // namespace mt
