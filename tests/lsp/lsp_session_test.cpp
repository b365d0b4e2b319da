// The language server at its seam, the session: bytes in as a client would send them (split
// anywhere, merged, malformed), the messages out, summarised one line each, and how the session
// ends. Each row is a conversation and its exact outcome.
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "lsp/session.h"

namespace mt::lsp {
namespace {

using json = nlohmann::json;

std::string framed(std::string_view body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

std::string request(int id, std::string_view method, std::string_view params = "{}") {
    return framed(R"({"jsonrpc":"2.0","id":)" + std::to_string(id) + R"(,"method":")" + std::string(method) +
                  R"(","params":)" + std::string(params) + "}");
}

std::string notification(std::string_view method, std::string_view params = "{}") {
    return framed(R"({"jsonrpc":"2.0","method":")" + std::string(method) + R"(","params":)" + std::string(params) +
                  "}");
}

std::string initialize(std::string_view encodings = "[]") {
    return request(1, "initialize",
                   R"({"capabilities":{"general":{"positionEncodings":)" + std::string(encodings) + "}}}");
}

const std::string INIT = initialize() + notification("initialized");
const std::string BYE = request(99, "shutdown") + notification("exit");

// initialize with the hover formats a client prefers, in its order.
std::string initialize_hover(std::string_view formats) {
    return request(1, "initialize",
                   R"({"capabilities":{"textDocument":{"hover":{"contentFormat":)" + std::string(formats) + "}}}}") +
           notification("initialized");
}

std::string open(std::string_view text) {
    return notification("textDocument/didOpen", R"({"textDocument":{"uri":"file:///d/messages.json","version":1,)"
                                                R"("languageId":"json","text":)" +
                                                    json(text).dump() + "}}");
}

std::string position(const json& p) {
    return std::to_string(p.at("line").get<int>()) + ":" + std::to_string(p.at("character").get<int>());
}

// One line per message the server sent: "1 result utf-16", "7 error -32601", "null error -32700",
// "6 error -32602 неверные параметры …" (with the text for wrong params),
// "publish 2 json@0:1-0:5 …" (each diagnostic's code and range).
std::string summarize(const json& m) {
    if (m.contains("method")) {
        std::string line = "publish";
        if (m["params"].contains("version")) line += " " + std::to_string(m["params"]["version"].get<int>());
        for (const json& d : m["params"]["diagnostics"])
            line += " " + d["code"].get<std::string>() + "@" + position(d["range"]["start"]) + "-" +
                    position(d["range"]["end"]);
        return line;
    }
    std::string line = m["id"].dump();
    if (m.contains("error")) {
        line += " error " + std::to_string(m["error"]["code"].get<int>());
        // Which parameter was wrong is the client's only clue.
        if (m["error"]["code"] == -32602) line += " " + m["error"]["message"].get<std::string>();
        return line;
    }
    line += " result";
    const json& r = m["result"];
    if (r.is_object() && r.contains("capabilities"))
        line += " " + r["capabilities"]["positionEncoding"].get<std::string>();
    if (r.is_object() && r.contains("contents"))
        line += " hover " + r["contents"]["kind"].get<std::string>() + " " + position(r["range"]["start"]);
    if (r.is_array()) line += " " + std::to_string(r.size()) + " actions";
    return line;
}

std::vector<std::string> summarize_stream(std::string_view out) {
    std::vector<std::string> lines;
    while (!out.empty()) {
        const std::size_t colon = out.find(": "), blank = out.find("\r\n\r\n");
        const std::size_t length = std::stoul(std::string(out.substr(colon + 2, blank - colon - 2)));
        lines.push_back(summarize(json::parse(out.substr(blank + 4, length))));
        out.remove_prefix(blank + 4 + length);
    }
    return lines;
}

// The pieces the bytes arrive in: all at once, or `size` bytes at a time.
std::vector<std::string> pieces(const std::string& bytes, std::size_t size) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < bytes.size(); i += size) out.push_back(bytes.substr(i, size));
    return out;
}

struct Row {
    std::string name;
    std::string input;
    std::vector<std::string> expected;
    int status;          // the exit status, after exit or the end of input
    std::string logged;  // a part of what went to standard error; "" for nothing
};

const std::string HUGE_BODY(16 * 1024 * 1024 + 1, ' ');
// Params nested a million arrays deep: read, looked into and dropped without recursing.
const std::string DEEP = std::string(1'000'000, '[') + std::string(1'000'000, ']');
// The reader refuses the emoji key (an unknown field): its span, from its opening quotation
// mark to one past its closing one, is 6 bytes, 4 UTF-16 units or 3 code points long.
const std::string EMOJI_KEY = R"({"😀":1})";

// A feed of one message that the rules accept at time 0, and a hover inside that message.
const std::string ONE_MESSAGE =
    R"({"schema":1,"revision":1,"messages":[{"id":"a","priority":1,"title":"t","body":"b","start_at":0,"end_at":1}]})";
const std::string HOVER_MESSAGE =
    request(4, "textDocument/hover",
            R"({"textDocument":{"uri":"file:///d/messages.json"},"position":{"line":0,"character":40}})");

std::vector<Row> rows() {
    return {
        {"lifecycle", INIT + BYE, {"1 result utf-16", "99 result"}, 0, ""},
        {"exit without shutdown", INIT + notification("exit"), {"1 result utf-16"}, 1, ""},
        {"end of input without exit", INIT, {"1 result utf-16"}, 1, ""},
        {"end of input after shutdown", INIT + request(99, "shutdown"), {"1 result utf-16", "99 result"}, 0, ""},
        {"request before initialize",
         request(5, "textDocument/hover") + INIT + BYE,
         {"5 error -32002", "1 result utf-16", "99 result"},
         0,
         ""},
        {"notification before initialize is dropped", open("{}") + INIT + BYE, {"1 result utf-16", "99 result"}, 0, ""},
        {"exit before initialize", notification("exit"), {}, 1, ""},
        {"unknown method",
         INIT + request(7, "workspace/bogus") + notification("bogus/notice") + BYE,
         {"1 result utf-16", "7 error -32601", "99 result"},
         0,
         ""},
        {"request after shutdown",
         INIT + request(99, "shutdown") + request(8, "textDocument/hover") + notification("exit"),
         {"1 result utf-16", "99 result", "8 error -32600"},
         0,
         ""},
        {"second initialize", INIT + initialize() + BYE, {"1 result utf-16", "1 error -32600", "99 result"}, 0, ""},
        {"a client's response is not answered",
         INIT + framed(R"({"jsonrpc":"2.0","id":4,"result":null})") + BYE,
         {"1 result utf-16", "99 result"},
         0,
         ""},
        {"body that is no JSON",
         INIT + framed("{\"jsonrpc\":") + BYE,
         {"1 result utf-16", "null error -32700", "99 result"},
         0,
         "не JSON"},
        {"JSON that is no request",
         INIT + framed("[1,2]") + framed(R"({"jsonrpc":"1.0","id":3,"method":"shutdown"})") +
             framed(R"({"jsonrpc":"2.0","id":{},"method":"shutdown"})") + BYE,
         {"1 result utf-16", "null error -32600", "3 error -32600", "null error -32600", "99 result"},
         0,
         ""},
        {"wrong params",
         INIT + request(6, "textDocument/hover", R"({"textDocument":5})") +
             request(7, "textDocument/hover",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"position":{"line":0,"character":-1}})") +
             request(8, "textDocument/hover",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"position":{"line":0.5,"character":0}})") +
             request(9, "textDocument/codeAction",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"range":{"start":{"line":0,"character":0},)"
                     R"("end":{"line":0,"character":1}},"context":{"only":["quickfix",7]}})") +
             request(10, "textDocument/codeAction",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"range":[]})") +
             BYE,
         {"1 result utf-16", "6 error -32602 неверные параметры textDocument/hover: поле textDocument — не объект",
          "7 error -32602 неверные параметры textDocument/hover: поле position.character — не целое неотрицательное "
          "число",
          "8 error -32602 неверные параметры textDocument/hover: поле position.line — не целое неотрицательное число",
          "9 error -32602 неверные параметры textDocument/codeAction: поле context.only[1] — не строка",
          "10 error -32602 неверные параметры textDocument/codeAction: поле range — не объект", "99 result"},
         0,
         ""},
        {"wrong params of a notification are logged",
         INIT + notification("textDocument/didOpen", "{}") + BYE,
         {"1 result utf-16", "99 result"},
         0,
         "неверные параметры textDocument/didOpen: нет поля textDocument.uri"},
        {"a version that is no integer opens nothing",
         INIT +
             notification("textDocument/didOpen", R"({"textDocument":{"uri":"file:///d/messages.json","version":"1",)"
                                                  R"("languageId":"json","text":"{}"}})") +
             BYE,
         {"1 result utf-16", "99 result"},
         0,
         "поле textDocument.version — не целое число"},
        // The first change is good and the second has no text: neither is applied, nothing is published.
        {"a change with wrong params changes nothing",
         INIT + open(EMOJI_KEY) +
             notification(
                 "textDocument/didChange",
                 R"({"textDocument":{"uri":"file:///d/messages.json","version":2},"contentChanges":[)"
                 R"({"text":"{}"},{"range":{"start":{"line":0,"character":0},"end":{"line":0,"character":1}}}]})") +
             notification("textDocument/didChange",
                          R"({"textDocument":{"uri":"file:///d/messages.json","version":3},"contentChanges":[]})") +
             BYE,
         {"1 result utf-16", "publish 1 json@0:1-0:5", "publish 3 json@0:1-0:5", "99 result"},
         0,
         "неверные параметры textDocument/didChange: нет поля contentChanges[1].text"},
        {"no Content-Length",
         "Content-Type: application/json\r\n\r\n{}" + INIT + BYE,
         {"null error -32700", "1 result utf-16", "99 result"},
         0,
         "нет Content-Length"},
        {"Content-Length not a number",
         "Content-Length: 1O\r\n\r\n{}" + INIT + BYE,
         {"null error -32700", "1 result utf-16", "99 result"},
         0,
         "неверный заголовок"},
        {"a line that is no header",
         "hello\r\n\r\n" + INIT + BYE,
         {"null error -32700", "1 result utf-16", "99 result"},
         0,
         "неверный заголовок"},
        {"Content-Length too short",
         INIT + "Content-Length: 10\r\n\r\n{\"jsonrpc\":\"2.0\",\"method\":\"x\"}" + BYE,
         {"1 result utf-16", "null error -32700", "99 result"},
         0,
         "не JSON"},
        // The body takes the start of the next message, which is lost; the one after it is not.
        {"Content-Length too long",
         INIT + "Content-Length: 40\r\n\r\n{\"jsonrpc\":\"2.0\",\"method\":\"x\"}" + request(3, "shutdown") + BYE,
         {"1 result utf-16", "null error -32700", "99 result"},
         0,
         "не JSON"},
        {"header block without end",
         std::string(9000, 'x') + INIT + BYE,
         {"null error -32700", "1 result utf-16", "99 result"},
         0,
         "8 КиБ"},
        {"params nested a million deep",
         request(1, "initialize", DEEP) + request(2, "bogus", DEEP) + BYE,
         {"1 result utf-16", "2 error -32601", "99 result"},
         0,
         ""},
        {"body over 16 MiB is skipped",
         INIT + framed(HUGE_BODY) + BYE,
         {"1 result utf-16", "null error -32600", "99 result"},
         0,
         "16 МиБ"},
        {"end of input inside a body",
         INIT + "Content-Length: 100\r\n\r\n{\"jsonrpc\"",
         {"1 result utf-16"},
         1,
         "кончился посреди"},
        {"end of input inside a header", INIT + "Content-Len", {"1 result utf-16"}, 1, "кончился посреди"},
        // Positions: the byte after an emoji, in each encoding offered.
        {"utf-16 when nothing else is offered",
         initialize("[\"utf-7\"]") + open(EMOJI_KEY) + BYE,
         {"1 result utf-16", "publish 1 json@0:1-0:5", "99 result"},
         0,
         ""},
        {"utf-8 offered first",
         initialize(R"(["utf-8","utf-16"])") + open(EMOJI_KEY) + BYE,
         {"1 result utf-8", "publish 1 json@0:1-0:7", "99 result"},
         0,
         ""},
        {"utf-32 offered first",
         initialize(R"(["utf-32","utf-8"])") + open(EMOJI_KEY) + BYE,
         {"1 result utf-32", "publish 1 json@0:1-0:4", "99 result"},
         0,
         ""},
        // A lone surrogate, valid JSON, is read as U+FFFD: one UTF-16 unit, as in the editor, so
        // a later change's range still means the same characters. A high surrogate before
        // another high one is lone too; a pair is a pair; and "\\ud83d" is an escaped
        // backslash, so the document gets the six letters, which its own reader then refuses.
        {"lone surrogates are read as U+FFFD",
         INIT +
             notification("textDocument/didOpen",
                          R"({"textDocument":{"uri":"file:///d/messages.json","version":1,"languageId":"json",)"
                          R"("text":"{\"\ud83d\":1}"}})") +
             notification(
                 "textDocument/didChange",
                 R"({"textDocument":{"uri":"file:///d/messages.json","version":2},"contentChanges":[)"
                 R"({"range":{"start":{"line":0,"character":2},"end":{"line":0,"character":3}},"text":"\udc00\ud800\ud83d\ude00"}]})") +
             notification(
                 "textDocument/didChange",
                 R"({"textDocument":{"uri":"file:///d/messages.json","version":3},"contentChanges":[)"
                 R"({"range":{"start":{"line":0,"character":2},"end":{"line":0,"character":4}},"text":"\\ud83d"}]})") +
             BYE,
         {"1 result utf-16", "publish 1 json@0:1-0:4", "publish 2 json@0:1-0:7", "publish 3 json@0:8-0:10",
          "99 result"},
         0,
         ""},
        // The limit falls inside a three-byte character: the range covers it, it is not empty.
        {"a size problem inside a character",
         INIT + open(std::string(65535, ' ') + "—") + BYE,
         {"1 result utf-16", "publish 1 size@0:65535-0:65536", "99 result"},
         0,
         ""},
        {"a lone carriage return ends a line",
         INIT + open("{\r\"😀\":1}") + BYE,
         {"1 result utf-16", "publish 1 json@1:0-1:4", "99 result"},
         0,
         ""},
        // Changes: a range replaced (the emoji, two UTF-16 units, by one letter), then the whole text.
        {"incremental and full changes",
         INIT + open(EMOJI_KEY) +
             notification(
                 "textDocument/didChange",
                 R"({"textDocument":{"uri":"file:///d/messages.json","version":2},"contentChanges":[)"
                 R"({"range":{"start":{"line":0,"character":2},"end":{"line":0,"character":4}},"text":"a"}]})") +
             notification("textDocument/didChange",
                          R"({"textDocument":{"uri":"file:///d/messages.json","version":3},"contentChanges":[)"
                          R"({"text":"{\"schema\":2,\"revision\":1,\"messages\":[]}"}]})") +
             notification("textDocument/didClose", R"({"textDocument":{"uri":"file:///d/messages.json"}})") + BYE,
         {"1 result utf-16", "publish 1 json@0:1-0:5", "publish 2 json@0:1-0:4", "publish 3 schema@0:10-0:11",
          "publish", "99 result"},
         0,
         ""},
        {"a change whose end is before its start is refused",
         INIT + open(EMOJI_KEY) +
             notification(
                 "textDocument/didChange",
                 R"({"textDocument":{"uri":"file:///d/messages.json","version":2},"contentChanges":[)"
                 R"({"range":{"start":{"line":0,"character":4},"end":{"line":0,"character":2}},"text":""}]})") +
             BYE,
         {"1 result utf-16", "publish 1 json@0:1-0:5", "publish 2 json@0:1-0:5", "99 result"},
         0,
         "конец изменения"},
        // Hover as the client prefers it: the first of its formats that is Markdown or plain text.
        {"hover in the client's format",
         initialize_hover(R"(["plaintext","markdown"])") + open(ONE_MESSAGE) + HOVER_MESSAGE + BYE,
         {"1 result utf-16", "publish 1", "4 result hover plaintext 0:37", "99 result"},
         0,
         ""},
        {"hover in Markdown when it comes first",
         initialize_hover(R"(["html","markdown","plaintext"])") + open(ONE_MESSAGE) + HOVER_MESSAGE + BYE,
         {"1 result utf-16", "publish 1", "4 result hover markdown 0:37", "99 result"},
         0,
         ""},
        {"hover in Markdown when the client names no format",
         INIT + open(ONE_MESSAGE) + HOVER_MESSAGE + BYE,
         {"1 result utf-16", "publish 1", "4 result hover markdown 0:37", "99 result"},
         0,
         ""},
        {"hover outside every message, code actions of a document without fixes",
         INIT + open(EMOJI_KEY) +
             request(4, "textDocument/hover",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"position":{"line":0,"character":1}})") +
             request(5, "textDocument/codeAction",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"range":{"start":{"line":0,"character":0},)"
                     R"("end":{"line":0,"character":9}},"context":{"diagnostics":[]}})") +
             BYE,
         {"1 result utf-16", "publish 1 json@0:1-0:5", "4 result", "5 result 0 actions", "99 result"},
         0,
         ""},
    };
}

// With MT_LSP_STREAMS naming a folder, each row's input is also written there (NN.in), for the
// WebAssembly build's test, which replays them through its module and the native program.
void write_stream(std::size_t index, const std::string& input) {
    const char* folder = std::getenv("MT_LSP_STREAMS");
    if (folder == nullptr) return;
    const std::string name = std::to_string(100 + index).substr(1);
    std::ofstream(std::string(folder) + "/" + name + ".in", std::ios::binary) << input;
}

TEST(LspSession, Table) {
    const std::vector<Row> table = rows();
    for (std::size_t i = 0; i < table.size(); ++i) write_stream(i, table[i].input);
    for (const Row& row : table) {
        // Whole, then a byte at a time, then in pieces of 7 bytes that split headers and characters.
        for (const std::size_t size : {row.input.size(), std::size_t{1}, std::size_t{7}}) {
            if (size == 1 && row.input.size() > 100'000) continue;
            SCOPED_TRACE(row.name + ", pieces of " + std::to_string(size));
            ServerOptions options;
            options.now = 0;
            Session session(options);
            std::string protocol, logged;
            for (const std::string& piece : pieces(row.input, std::max<std::size_t>(size, 1))) {
                Output out = session.feed(piece);
                protocol += out.protocol;
                logged += out.log;
            }
            if (!session.ended()) {
                Output out = session.finish();
                protocol += out.protocol;
                logged += out.log;
            }
            EXPECT_EQ(summarize_stream(protocol), row.expected);
            EXPECT_EQ(session.exit_status(), row.status);
            if (row.logged.empty())
                EXPECT_EQ(logged.find("[messages-lint]"), std::string::npos) << logged;
            else
                EXPECT_NE(logged.find(row.logged), std::string::npos) << logged;
        }
    }
}

}  // namespace
}  // namespace mt::lsp
