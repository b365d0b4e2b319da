// The language server's framing and dispatch over any bytes a client could send: the first
// byte chooses the size of the pieces the rest arrives in. Whatever the bytes, the session never
// crashes or hangs, writes only well-formed framed JSON-RPC 2.0 messages, answers the same
// whether the bytes come whole or in pieces, and ends at the end of input.
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "invariants.h"
#include "lsp/session.h"

using namespace mt::fuzz;

namespace {

// Every message of `out` is a frame with a JSON-RPC 2.0 object as its body.
void require_messages(std::string_view out) {
    while (!out.empty()) {
        require(starts_with(out, "Content-Length: "), "a frame begins with its length", out.substr(0, 40));
        const std::size_t blank = out.find("\r\n\r\n");
        require(blank != std::string_view::npos, "a header block ends");
        const std::size_t length = std::stoul(std::string(out.substr(16, blank - 16)));
        require(blank + 4 + length <= out.size(), "a body is whole");
        const auto message = nlohmann::json::parse(out.substr(blank + 4, length), nullptr, false);
        require(message.is_object() && message.value("jsonrpc", "") == "2.0", "a body is a JSON-RPC 2.0 object",
                out.substr(blank + 4, length));
        out.remove_prefix(blank + 4 + length);
    }
}

// The session over `bytes` in pieces of `size`, then the end of input.
std::string converse(std::string_view bytes, std::size_t size, int& status) {
    mt::lsp::ServerOptions options;
    options.now = 1'800'000'000;
    mt::lsp::Session session(options);
    std::string out;
    for (std::size_t i = 0; i < bytes.size() && !session.ended(); i += size)
        out += session.feed(bytes.substr(i, size)).protocol;
    out += session.finish().protocol;
    require(session.ended(), "the end of input ends the session");
    status = session.exit_status();
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = data[0] % 64 + 1;
    const std::string_view bytes = as_text(data + 1, size - 1);
    int whole_status = 0, pieces_status = 0;
    const std::string whole = converse(bytes, bytes.size() + 1, whole_status);
    const std::string in_pieces = converse(bytes, piece, pieces_status);
    require_messages(whole);
    require(whole == in_pieces, "the same answers in pieces as whole");
    require(whole_status == pieces_status && (whole_status == 0 || whole_status == 1), "the exit status");
    return 0;
}
