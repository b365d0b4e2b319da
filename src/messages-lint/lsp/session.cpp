#include "lsp/session.h"

#include "framing.h"
#include "server.h"

namespace mt::lsp {

struct Session::State {
    FrameReader reader;
    ServerState server;
};

Session::Session(ServerOptions options) : state_(std::make_unique<State>()) {
    state_->server.options = std::move(options);
}
Session::~Session() = default;
Session::Session(Session&&) noexcept = default;
Session& Session::operator=(Session&&) noexcept = default;

Output Session::feed(std::string_view bytes) {
    Output out;
    if (ended()) return out;
    state_->reader.feed(bytes);
    while (!ended()) {
        std::optional<Frame> frame = state_->reader.next();
        if (!frame) break;
        if (frame->error) {
            const std::string_view text = frame_error_text(*frame->error);
            const ErrorCode code =
                *frame->error == FrameError::body_too_large ? ErrorCode::invalid_request : ErrorCode::parse_error;
            out.protocol += error_message(code, text);
            out.log += "[messages-lint] " + std::string(text) + "\n";
            continue;
        }
        if (!handle_message(state_->server, frame->body, out)) state_->reader.resync();
    }
    return out;
}

Output Session::finish() {
    Output out;
    if (ended()) return out;
    if (const std::optional<FrameError> error = state_->reader.finish())
        out.log += "[messages-lint] " + std::string(frame_error_text(*error)) + "\n";
    state_->server.exit_status = state_->server.stage == ServerState::Stage::shut_down ? 0 : 1;
    state_->server.stage = ServerState::Stage::exited;
    return out;
}

bool Session::ended() const { return state_->server.stage == ServerState::Stage::exited; }

int Session::exit_status() const { return state_->server.exit_status; }

}  // namespace mt::lsp
