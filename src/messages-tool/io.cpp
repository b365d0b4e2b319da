#include "messages-tool/io.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/text.h"

namespace mt {

std::string os_error_text(int code) { return std::string(std::strerror(code)) + " (os error " + decimal(code) + ")"; }

Result<FileHead> read_head(const std::string& path, std::size_t cap) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return fail(os_error_text(errno));

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
    ::close(fd);
    if (error) return fail(os_error_text(error));
    return head;
}

std::string feed_too_large_text(std::string_view path, std::size_t size) {
    return std::string(path) + " — " + decimal(size) + " байт больше 64 КиБ, отклонено до парсинга";
}

Result<void> write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return fail(os_error_text(errno));
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

int write_outcome(const Outcome& outcome, std::string_view prefix) {
    std::signal(SIGPIPE, SIG_IGN);
    if (!outcome.out.empty()) {
        if (auto written = write_all(STDOUT_FILENO, outcome.out); !written) {
            const std::string line =
                std::string(prefix) + escape_controls("не пишу в stdout: " + written.error().text) + "\n";
            (void)write_all(STDERR_FILENO, line);
            return 2;
        }
    }
    // A failed diagnostic cannot be reported anywhere; its status is non-zero already.
    if (!outcome.err.empty()) (void)write_all(STDERR_FILENO, outcome.err);
    return outcome.status;
}

}  // namespace mt
