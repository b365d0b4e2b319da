// The dispatch of one message body: what the server's state becomes and what it answers. The
// session (session.cpp) feeds it the bodies the framing finds; the state holds everything that
// lives between messages.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "documents.h"
#include "lint/hover.h"
#include "lsp/session.h"
#include "position.h"

namespace mt::lsp {

// JSON-RPC's and the protocol's error codes.
enum class ErrorCode : int {
    parse_error = -32700,
    invalid_request = -32600,
    method_not_found = -32601,
    invalid_params = -32602,
    server_not_initialized = -32002,
};

struct ServerState {
    enum class Stage { waiting, running, shut_down, exited };
    ServerOptions options;
    Stage stage = Stage::waiting;
    PositionEncoding encoding = PositionEncoding::utf16;
    bool versioned_edits = false;
    // Markdown unless the client prefers plain text (its first hover content format).
    lint::HoverFormat hover_format = lint::HoverFormat::markdown;
    // What the client declared it takes: snippets in completion, nested document symbols, and
    // diagnostics it asks for (then none are pushed), and the refreshes it takes after a change
    // of settings.
    bool snippets = false;
    bool nested_symbols = false;
    bool pull_diagnostics = false;
    bool refresh_diagnostics = false;
    bool refresh_hints = false;
    // The settings: the zone the hints show times in (the author's, or UTC); `options.warnings`.
    bool hints_in_utc = false;
    std::int64_t next_request = 1;  // the id of the server's next request to the client
    int exit_status = 1;  // 0 once `exit` follows `shutdown`
    std::map<std::string, Document, std::less<>> documents;
};

// Handles one body. Returns false when the body was no JSON, so the framing looks for the next
// header rather than trusting what follows it.
bool handle_message(ServerState& state, std::string_view body, Output& out);

// The error answer to a message whose id is unknown (null), framed.
std::string error_message(ErrorCode code, std::string_view text);

}  // namespace mt::lsp
