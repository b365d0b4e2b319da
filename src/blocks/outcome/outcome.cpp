#include "outcome/outcome.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

#include "common/escape.h"
#include "common/os_error.h"

namespace mt {

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
