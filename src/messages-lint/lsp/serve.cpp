// The session over the process's descriptors (messages-lint --lsp). The only part of the
// server that touches the operating system, so the WebAssembly build leaves it out and its
// host feeds the session instead.
#include <cerrno>
#include <csignal>
#include <unistd.h>

#include "lsp/session.h"

namespace mt::lsp {

namespace {

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

int serve(int input, int output, int log, const ServerOptions& options) {
    // A client that goes away is an end of the conversation, not a signal that kills the process.
    std::signal(SIGPIPE, SIG_IGN);
    Session session(options);
    std::string buffer(64 * 1024, '\0');
    while (!session.ended()) {
        const ssize_t n = ::read(input, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            write_all(log, "[messages-lint] стандартный ввод не читается\n");
            return 1;
        }
        const Output out = n == 0 ? session.finish() : session.feed(std::string_view(buffer.data(), n));
        if (!out.log.empty()) write_all(log, out.log);
        if (!write_all(output, out.protocol)) {
            write_all(log, "[messages-lint] клиент больше не читает ответы\n");
            return 1;
        }
    }
    return session.exit_status();
}

}  // namespace mt::lsp
