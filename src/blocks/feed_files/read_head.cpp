#include "feed_files/read_head.h"

#include <algorithm>
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
    // The buffer grows as bytes come, from what a regular file says it holds (one byte more, to
    // see it end) or from a feed's size: a cap far above what a file holds costs nothing.
    constexpr std::size_t FIRST_SIZE = 64 * 1024 + 1;
    struct stat info;
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const std::size_t size = regular ? static_cast<std::size_t>(info.st_size) + 1 : FIRST_SIZE;
    FileHead head;
    head.bytes.resize(std::min(cap, std::max<std::size_t>(size, 1)));
    std::size_t filled = 0;
    int error = 0;
    while (filled < cap) {
        if (filled == head.bytes.size()) head.bytes.resize(std::min(cap, 2 * head.bytes.size()));
        const ssize_t got = ::read(fd, head.bytes.data() + filled, head.bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) error = errno;
        if (got <= 0) break;
        filled += static_cast<std::size_t>(got);
    }
    head.bytes.resize(filled);
    head.length = filled;
    // Only a regular file has a known length beyond what was read; a device or pipe may never end.
    if (!error && filled == cap && regular && static_cast<std::uint64_t>(info.st_size) > head.length)
        head.length = static_cast<std::uint64_t>(info.st_size);
    if (error) return os_failure(error);
    return head;
}

}  // namespace mt
