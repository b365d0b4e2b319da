// messages-lint's language server: the Language Server Protocol 3.17 over a byte stream (the
// process's standard input and output), on the lint core. A Session takes the client's bytes
// as they arrive, in pieces of any size, and gives back the bytes to send (only protocol
// messages) and the lines to log (for standard error); serve() runs one over two descriptors.
//
// The conversation: `initialize` (answered with the capabilities and the position encoding
// agreed), `initialized`, documents opened, changed (whole or by ranges) and closed, each
// change checked at once and answered with publishDiagnostics (an empty list on close); code
// actions and hover; `shutdown`, then `exit`. Bad input never ends it: a framing error or a
// body that is no JSON gets -32700, JSON that is no request -32600, an unknown method -32601, a
// request before `initialize` -32002, a request after `shutdown` -32600, wrong params -32602;
// notifications are never answered. The session ends at `exit` (status 0 after `shutdown`,
// else 1) or at the end of input (the same status).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "lint/author_zone.h"

namespace mt::lsp {

struct ServerOptions {
    std::optional<std::int64_t> now;  // the time ended windows are judged at; none: the clock at each check
    bool warnings = true;
    std::string version;    // serverInfo.version
    lint::AuthorZone zone;  // where a date without a zone is read
};

struct Output {
    std::string protocol;  // framed messages for the client
    std::string log;       // lines for standard error
};

class Session {
  public:
    explicit Session(ServerOptions options);
    ~Session();
    Session(Session&&) noexcept;
    Session& operator=(Session&&) noexcept;

    Output feed(std::string_view bytes);
    // The end of input: a message left unfinished is logged, and the session ends.
    Output finish();
    bool ended() const;
    int exit_status() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

#if !defined(__wasi__)
// Runs a session over the descriptors until it ends; returns its exit status (1 also when the
// input cannot be read or the output written). Not in the WebAssembly build, whose host feeds
// a Session itself.
int serve(int input, int output, int log, const ServerOptions& options);
#endif

}  // namespace mt::lsp
