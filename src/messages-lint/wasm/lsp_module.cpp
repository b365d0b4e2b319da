// The language server as a WebAssembly reactor: the same session as `messages-lint --lsp`,
// fed by its JavaScript host (messages-lint-lsp.mjs over standard input and output, or a web
// worker) instead of descriptors. The host gives the client's bytes as they arrive and sends on
// what comes back; nothing here touches a file.
//
// The host's clock zone reaches the session as a table of offsets (lint/zone_table.h), which the
// server keeps with the session for as long as it runs.
//
// Memory: the host copies its bytes into blocks from mt_alloc and frees them with mt_free. The
// bytes a call gives back (the framed messages for the client, then the lines for the log) are
// one block for mt_free, its address and the two lengths in result[0], result[1], result[2].
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "lint/zone_table.h"
#include "lsp/session.h"

namespace {

mt::lsp::ServerOptions with_zone(mt::lsp::ServerOptions options, const mt::lint::ZoneTable& zone) {
    options.zone = zone.author_zone();
    return options;
}

// A session with the zone it reads dates in: the zone's name and table live as long as it.
struct Server {
    std::string zone_name;
    std::vector<std::int64_t> spans;
    mt::lint::ZoneTable zone;
    mt::lsp::Session session;

    Server(std::string name, std::vector<std::int64_t> table, mt::lsp::ServerOptions options)
        : zone_name(std::move(name)),
          spans(std::move(table)),
          zone{zone_name, spans.data(), spans.size() / 2},
          session(with_zone(std::move(options), zone)) {}
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
};

int hand_over(const mt::lsp::Output& out, std::uint32_t* result) {
    const std::size_t size = out.protocol.size() + out.log.size();
    if (size > std::numeric_limits<std::uint32_t>::max()) return 1;
    char* block = static_cast<char*>(std::malloc(size > 0 ? size : 1));
    if (block == nullptr) return 1;
    out.protocol.copy(block, out.protocol.size());
    out.log.copy(block + out.protocol.size(), out.log.size());
    result[0] = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(block));
    result[1] = static_cast<std::uint32_t>(out.protocol.size());
    result[2] = static_cast<std::uint32_t>(out.log.size());
    return 0;
}

}  // namespace

extern "C" {

__attribute__((export_name("mt_alloc"))) void* mt_alloc(std::size_t size) { return std::malloc(size > 0 ? size : 1); }

__attribute__((export_name("mt_free"))) void mt_free(void* block) { std::free(block); }

// A new session, as `messages-lint --lsp` starts one: with `warnings` 0 as --no-warnings, and
// with `has_now` not 0 as --now=`now`; a date without a zone read in the host's zone (its name,
// `zone_name_size` bytes at `zone_name`, and its `span_count` pairs at `spans`: lint/zone_table.h).
// Null when memory runs out.
__attribute__((export_name("mt_lsp_start"))) Server* mt_lsp_start(int warnings, int has_now, std::int64_t now,
                                                                  const char* zone_name, std::size_t zone_name_size,
                                                                  const std::int64_t* spans, std::size_t span_count) {
    mt::lsp::ServerOptions options;
    if (has_now != 0) options.now = now;
    options.warnings = warnings != 0;
    options.version = MT_VERSION;
    return new (std::nothrow) Server(std::string(zone_name, zone_name_size),
                                     std::vector<std::int64_t>(spans, spans + 2 * span_count), std::move(options));
}

// The client's next `size` bytes at `bytes`. Returns 0, or 1 when the answer could not be
// allocated.
__attribute__((export_name("mt_lsp_feed"))) int mt_lsp_feed(Server* server, const char* bytes, std::size_t size,
                                                            std::uint32_t* result) {
    return hand_over(server->session.feed(std::string_view(bytes, size)), result);
}

// The end of the client's input.
__attribute__((export_name("mt_lsp_finish"))) int mt_lsp_finish(Server* server, std::uint32_t* result) {
    return hand_over(server->session.finish(), result);
}

// 1 once the session has ended (at `exit` or the end of input), else 0.
__attribute__((export_name("mt_lsp_ended"))) int mt_lsp_ended(const Server* server) {
    return server->session.ended() ? 1 : 0;
}

// The status the program exits with: 0 after `shutdown` then `exit`, else 1.
__attribute__((export_name("mt_lsp_exit_status"))) int mt_lsp_exit_status(const Server* server) {
    return server->session.exit_status();
}

__attribute__((export_name("mt_lsp_stop"))) void mt_lsp_stop(Server* server) { delete server; }
}
