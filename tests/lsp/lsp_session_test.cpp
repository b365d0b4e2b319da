// The language server at its seam, the session: bytes in as a client would send them (split
// anywhere, merged, malformed), the messages out, summarised one line each, and how the session
// ends. Each row is a conversation and its exact outcome.
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <pthread.h>
#include <string>
#include <thread>
#include <unistd.h>
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
    if (m.contains("method") && m.contains("id")) return "request " + m["method"].get<std::string>();
    if (m.contains("method")) {
        std::string line = "publish";
        if (m["params"].contains("version")) line += " " + std::to_string(m["params"]["version"].get<std::int64_t>());
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
    if (r.is_array())
        line += " " + std::to_string(r.size()) + (r.empty() || r[0].contains("title") ? " actions" : " items");
    if (r.is_object() && r.contains("items")) line += " " + std::to_string(r["items"].size()) + " items";
    if (r.is_object() && r.contains("uri")) line += " at " + position(r["range"]["start"]);
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

// A feed being typed: the second message's key is begun, the rest not written yet.
const std::string TYPING =
    R"({"schema":1,"revision":1,"messages":[{"id":"a","priority":1,"title":"t","body":"b","start_at":0,"end_at":1},)"
    R"({"id":"a","pri)";
// A request of the document at a character of its one line.
std::string at_character(int id, std::string_view method, int character, std::string_view more = "") {
    return request(id, method,
                   R"({"textDocument":{"uri":"file:///d/messages.json"},"position":{"line":0,"character":)" +
                       std::to_string(character) + "}" + std::string(more) + "}");
}
std::string of_document(int id, std::string_view method, std::string_view more = "") {
    return request(id, method, R"({"textDocument":{"uri":"file:///d/messages.json"})" + std::string(more) + "}");
}
const std::string WHOLE_TEXT = R"(,"range":{"start":{"line":0,"character":0},"end":{"line":1,"character":0}})";
// A client that asks for diagnostics rather than being sent them.
const std::string INIT_PULL =
    request(1, "initialize", R"({"capabilities":{"textDocument":{"diagnostic":{}},"workspace":{"diagnostics":{"refreshSupport":true},"inlayHint":{"refreshSupport":true}}}})") +
    notification("initialized");
std::string settings(std::string_view values) {
    return notification("workspace/didChangeConfiguration", R"({"settings":{"messages-lint":)" + std::string(values) + "}}");
}

std::vector<Row> rows() {
    return {
        {"lifecycle", INIT + BYE, {"1 result utf-16", "99 result"}, 0, ""},
        {"the workbench's requests in a draft being typed",
         INIT + open(TYPING) + at_character(3, "textDocument/completion", 122) +
             of_document(4, "textDocument/inlayHint", WHOLE_TEXT) + of_document(5, "textDocument/documentSymbol") +
             of_document(6, "textDocument/foldingRange") +
             of_document(7, "textDocument/selectionRange", R"(,"positions":[{"line":0,"character":69}])") +
             at_character(8, "textDocument/definition", 115) +
             at_character(9, "textDocument/references", 44, R"(,"context":{"includeDeclaration":false})") +
             at_character(10, "textDocument/definition", 69) + BYE,
         {"1 result utf-16", "publish 1 json@0:121-0:122", "3 result 8 items", "4 result 2 items", "5 result 13 items",
          "6 result 0 actions", "7 result 1 items", "8 result at 0:43", "9 result 1 items", "10 result", "99 result"},
         0,
         ""},
        {"the workbench's requests in a draft that reads",
         INIT + open(ONE_MESSAGE) + at_character(3, "textDocument/completion", 37) +
             of_document(4, "textDocument/inlayHint", WHOLE_TEXT) + of_document(5, "textDocument/documentSymbol") +
             of_document(6, "textDocument/foldingRange") +
             of_document(7, "textDocument/selectionRange", R"(,"positions":[{"line":0,"character":45},{"line":0,"character":0}])") +
             at_character(8, "textDocument/definition", 44) + at_character(9, "textDocument/references", 44) +
             at_character(10, "textDocument/definition", 38) + BYE,
         {"1 result utf-16", "publish 1", "3 result 1 items", "4 result 2 items", "5 result 10 items", "6 result 0 actions",
          "7 result 2 items", "8 result at 0:43", "9 result 1 items", "10 result", "99 result"},
         0,
         ""},
        {"the workbench's requests of a document not open",
         INIT + at_character(3, "textDocument/completion", 1) + of_document(4, "textDocument/inlayHint", WHOLE_TEXT) +
             of_document(5, "textDocument/documentSymbol") + of_document(6, "textDocument/foldingRange") +
             of_document(7, "textDocument/selectionRange", R"(,"positions":[{"line":0,"character":1}])") +
             at_character(8, "textDocument/definition", 1) + at_character(9, "textDocument/references", 1) + BYE,
         {"1 result utf-16", "3 result", "4 result 0 actions", "5 result 0 actions", "6 result 0 actions",
          "7 result 0 actions", "8 result", "9 result 0 actions", "99 result"},
         0,
         ""},
        {"the workbench's requests with wrong params",
         INIT + open(TYPING) + request(3, "textDocument/completion", R"({"textDocument":{"uri":"file:///d/messages.json"}})") +
             of_document(4, "textDocument/inlayHint") + of_document(5, "textDocument/selectionRange") + BYE,
         {"1 result utf-16", "publish 1 json@0:121-0:122",
          "3 error -32602 неверные параметры textDocument/completion: нет поля position.line",
          "4 error -32602 неверные параметры textDocument/inlayHint: нет поля range.start.line",
          "5 error -32602 неверные параметры textDocument/selectionRange: нет поля positions", "99 result"},
         0,
         ""},
        {"diagnostics asked for are never also sent",
         INIT_PULL + open(TYPING) + of_document(3, "textDocument/diagnostic") +
             notification("textDocument/didClose", R"({"textDocument":{"uri":"file:///d/messages.json"}})") +
             of_document(4, "textDocument/diagnostic") + BYE,
         {"1 result utf-16", "3 result 1 items", "4 result 0 items", "99 result"},
         0,
         ""},
        {"diagnostics are not answered to a client that did not ask for them",
         INIT + open(TYPING) + of_document(3, "textDocument/diagnostic") + BYE,
         {"1 result utf-16", "publish 1 json@0:121-0:122", "3 error -32601", "99 result"},
         0,
         ""},
        {"settings change the warnings at once, and what is unchanged asks for nothing",
         INIT + open(R"({"schema":1,"revision":1,"messages":[{"id":"a","priority":1,"title":"t","body":"b","start_at":-2,"end_at":-1}]})") +
             settings(R"({"warnings":false})") + settings(R"({"warnings":false})") + settings(R"({"warnings":true})") +
             settings(R"({"hintZone":"UTC"})") + BYE,
         {"1 result utf-16", "publish 1 ended-window@0:106-0:108", "publish 1", "publish 1 ended-window@0:106-0:108",
          "99 result"},
         0,
         ""},
        {"a client that asks for diagnostics is asked to ask again after a change of settings",
         INIT_PULL + open(TYPING) + settings(R"({"warnings":false})") + settings(R"({"hintZone":"UTC"})") +
             settings(R"({"hintZone":"UTC"})") + BYE,
         {"1 result utf-16", "request workspace/diagnostic/refresh", "request workspace/inlayHint/refresh", "99 result"},
         0,
         ""},
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
        // A body that ends inside an escape: no JSON, and nothing read past its end.
        {"body ending inside an escape",
         INIT + framed("\"\\uD83") + framed("[\"\\u") + BYE,
         {"1 result utf-16", "null error -32700", "null error -32700", "99 result"},
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
        // Surrogates at the edges of their ranges, in upper-case digits too: each lone one is
        // U+FFFD, a high one before a high one included.
        {"lone surrogates at the edges",
         INIT +
             notification("textDocument/didOpen",
                          R"({"textDocument":{"uri":"file:///d/messages.json","version":1,"languageId":"json",)"
                          R"("text":"{\"\uD83D\udbff\uDBFF\udc00\uDFFF\":1}"}})") +
             BYE,
         {"1 result utf-16", "publish 1 json@0:1-0:8", "99 result"},
         0,
         ""},
        // The largest version a document can have, and one past it, which opens nothing.
        {"versions at the edge of 64 bits",
         INIT +
             notification("textDocument/didOpen",
                          R"({"textDocument":{"uri":"file:///d/messages.json","version":9223372036854775807,)"
                          R"("languageId":"json","text":"{}"}})") +
             notification("textDocument/didOpen",
                          R"({"textDocument":{"uri":"file:///e/messages.json","version":9223372036854775808,)"
                          R"("languageId":"json","text":"{}"}})") +
             BYE,
         {"1 result utf-16", "publish 9223372036854775807 json@0:0-0:2", "99 result"},
         0,
         "поле textDocument.version — не целое число"},
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
        {"every request on a document that is not open",
         INIT + open(EMOJI_KEY) +
             request(4, "textDocument/hover",
                     R"({"textDocument":{"uri":"file:///d/other.json"},"position":{"line":0,"character":1}})") +
             request(5, "textDocument/codeAction",
                     R"({"textDocument":{"uri":"file:///d/other.json"},"range":{"start":{"line":0,"character":0},)"
                     R"("end":{"line":0,"character":9}},"context":{"diagnostics":[]}})") +
             notification("textDocument/didChange",
                          R"({"textDocument":{"uri":"file:///d/other.json","version":2},"contentChanges":[)"
                          R"({"text":"{}"}]})") +
             notification("textDocument/didClose", R"({"textDocument":{"uri":"file:///d/other.json"}})") + BYE,
         {"1 result utf-16", "publish 1 json@0:1-0:5", "4 result", "5 result 0 actions", "publish", "99 result"},
         0,
         "изменение документа, который не открыт"},
        {"a closed document is no longer open",
         INIT + open(R"({"schema": 1, "revision": 1, "messages": [],})") +
             notification("textDocument/didClose", R"({"textDocument":{"uri":"file:///d/messages.json"}})") +
             request(5, "textDocument/codeAction",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"range":{"start":{"line":0,"character":0},)"
                     R"("end":{"line":0,"character":44}},"context":{"diagnostics":[]}})") +
             BYE,
         {"1 result utf-16", "publish 1 json@0:43-0:44", "publish", "5 result 0 actions", "99 result"},
         0,
         ""},
        // Quick fixes for the problems a range touches: "revison" is 0:14-0:23 (a suggestion), the
        // trailing comma after it 0:42-0:43 (a safe fix, found past the first error); fixed whole,
        // the trailing comma goes.
        {"quick fixes only for the problems inside the range",
         INIT + open(R"({"schema": 1, "revison": 1, "messages": [],})") +
             request(2, "textDocument/codeAction",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"range":{"start":{"line":0,"character":0},)"
                     R"("end":{"line":0,"character":13}},"context":{"diagnostics":[],"only":["quickfix"]}})") +
             request(3, "textDocument/codeAction",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"range":{"start":{"line":0,"character":0},)"
                     R"("end":{"line":0,"character":14}},"context":{"diagnostics":[],"only":["quickfix"]}})") +
             request(4, "textDocument/codeAction",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"range":{"start":{"line":0,"character":23},)"
                     R"("end":{"line":0,"character":25}},"context":{"diagnostics":[],"only":["quickfix"]}})") +
             request(5, "textDocument/codeAction",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"range":{"start":{"line":0,"character":24},)"
                     R"("end":{"line":0,"character":25}},"context":{"diagnostics":[],"only":["quickfix"]}})") +
             request(6, "textDocument/codeAction",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"range":{"start":{"line":0,"character":0},)"
                     R"("end":{"line":0,"character":44}},"context":{"diagnostics":[]}})") +
             request(7, "textDocument/codeAction",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"range":{"start":{"line":0,"character":24},)"
                     R"("end":{"line":0,"character":25}},"context":{"diagnostics":[],"only":["source"]}})") +
             request(8, "textDocument/codeAction",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"range":{"start":{"line":0,"character":0},)"
                     R"("end":{"line":0,"character":44}},"context":{"diagnostics":[],"only":["quick"]}})") +
             BYE,
         {"1 result utf-16", "publish 1 json@0:14-0:23 json@0:42-0:43", "2 result 0 actions", "3 result 1 actions",
          "4 result 1 actions", "5 result 0 actions", "6 result 3 actions", "7 result 1 actions", "8 result 0 actions",
          "99 result"},
         0,
         ""},
        // A position past the end of its line is that line's end, before "\n" or "\r\n": the
        // text inserted there lands on the first line, where the revision's error is then found.
        {"a change past the end of a line",
         INIT +
             notification("textDocument/didOpen", R"({"textDocument":{"uri":"file:///d/a.json","version":1,)"
                                                  R"("languageId":"json","text":"{\"schema\": 1\n}"}})") +
             notification("textDocument/didOpen", R"({"textDocument":{"uri":"file:///d/b.json","version":1,)"
                                                  R"("languageId":"json","text":"{\"schema\": 1\r\n}"}})") +
             notification("textDocument/didChange",
                          R"({"textDocument":{"uri":"file:///d/a.json","version":2},"contentChanges":[)"
                          R"({"range":{"start":{"line":0,"character":99},"end":{"line":0,"character":99}},)"
                          R"("text":", \"revision\": 0"}]})") +
             notification("textDocument/didChange",
                          R"({"textDocument":{"uri":"file:///d/b.json","version":2},"contentChanges":[)"
                          R"({"range":{"start":{"line":0,"character":99},"end":{"line":0,"character":99}},)"
                          R"("text":", \"revision\": 0"}]})") +
             BYE,
         {"1 result utf-16", "publish 1 json@0:0-1:1", "publish 1 json@0:0-1:1", "publish 2 revision@0:26-0:27",
          "publish 2 revision@0:26-0:27", "99 result"},
         0,
         ""},
        // A header's name is letters, digits, "-" and "_": one with a space damages its block.
        {"a header name with a space",
         "Bad Name: 1\r\n" + INIT + "X_Y: 1\r\n" + request(3, "workspace/bogus") + BYE,
         {"null error -32700", "1 result utf-16", "3 error -32601", "99 result"},
         0,
         "неверный заголовок"},
        // After each damaged header the next message is still answered.
        {"two damaged headers in a row",
         INIT + "Content-Length: 1O\r\n\r\nContent-Length: 5x\r\n\r\n" + request(3, "workspace/bogus") + BYE,
         {"1 result utf-16", "null error -32700", "null error -32700", "3 error -32601", "99 result"},
         0,
         "неверный заголовок"},
        {"a damaged header after a client's response",
         INIT + framed(R"({"jsonrpc":"2.0","id":4,"result":null})") + "hello\r\n\r\n" + request(3, "workspace/bogus") +
             BYE,
         {"1 result utf-16", "null error -32700", "3 error -32601", "99 result"},
         0,
         "неверный заголовок"},
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

// What a summary line leaves out: the exact values at chosen places (JSON pointers) of one of
// the messages the server sent (counted from 0), for the conversation fed whole.
struct ExactRow {
    std::string name;
    std::string input;
    std::size_t message;
    std::vector<std::pair<std::string, json>> expected;
};

std::string code_action_request(int id, std::string_view uri, std::string_view range, std::string_view only) {
    return request(id, "textDocument/codeAction",
                   R"({"textDocument":{"uri":")" + std::string(uri) + R"("},"range":)" + std::string(range) +
                       R"(,"context":{"diagnostics":[],"only":)" + std::string(only) + "}}");
}

std::string open_at(std::string_view uri, std::string_view text) {
    return notification("textDocument/didOpen", R"({"textDocument":{"uri":")" + std::string(uri) +
                                                    R"(","version":1,"languageId":"json","text":)" + json(text).dump() +
                                                    "}}");
}

const std::string URI = "file:///d/messages.json";
const std::string WHOLE_LINE = R"({"start":{"line":0,"character":0},"end":{"line":0,"character":99}})";
const std::string INIT_VERSIONED =
    request(1, "initialize", R"({"capabilities":{"workspace":{"workspaceEdit":{"documentChanges":true}}}})") +
    notification("initialized");
// A trailing comma (a safe fix); a misspelt key (a suggestion) before a trailing comma.
const std::string TRAILING_COMMA = R"({"schema": 1, "revision": 1, "messages": [],})";
const std::string KEY_AND_COMMA = R"({"schema": 1, "revison": 1, "messages": [],})";
// Fixed whole, the comment goes and the rest stays: the common tail of the two texts would
// begin inside "ы", whose last byte is also the last byte of "Ћ".
const std::string BOM_AND_COMMENT = "\xEF\xBB\xBF{\"a\": \"Ћ\" // ы\"\n}";
const std::string MESSAGE_A =
    R"({"id":"a","priority":1,"title":"t","body":"b","start_at":1767225600,"end_at":1769904000})";
const std::string WITH_MILLISECONDS =
    R"({"id":"a","priority":1,"title":"t","body":"b","start_at":1767225600,"end_at":100000000001})";
const std::string OVERSIZE = "{\"schema\": 1" + std::string(70000, ' ') + "}";

json range(int l1, int c1, int l2, int c2) {
    return {{"start", {{"line", l1}, {"character", c1}}}, {"end", {{"line", l2}, {"character", c2}}}};
}

std::string size_text(std::string_view path) {
    return std::string(path) +
           " — 65537 байт больше 64 КиБ, отклонено до парсинга\nпримечание: в файле 70013 байт, "
           "допустимо не больше 65536: сократите его на 4477 байт";
}

std::vector<ExactRow> exact_rows() {
    return {
        {"initialize announces its capabilities in full",
         INIT + BYE,
         0,
         {{"/result", json::parse(R"({"capabilities":{"positionEncoding":"utf-16",
              "textDocumentSync":{"openClose":true,"change":2},
              "codeActionProvider":{"codeActionKinds":["quickfix","source.fixAll.messages-lint"]},
              "hoverProvider":true,"completionProvider":{"triggerCharacters":["\"",":","{"]},"inlayHintProvider":true,
              "documentSymbolProvider":true,"foldingRangeProvider":true,"selectionRangeProvider":true,
              "definitionProvider":true,"referencesProvider":true},
              "serverInfo":{"name":"messages-lint","version":"9.8.7"}})")}}},
        {"a client that asks for diagnostics is told how",
         INIT_PULL + BYE,
         0,
         {{"/result/capabilities/diagnosticProvider",
           {{"identifier", "messages-lint"}, {"interFileDependencies", false}, {"workspaceDiagnostics", false}}}}},
        // The key is written as the draft writes its others, with no space after the colon.
        {"completion as plain text, over the key begun",
         INIT + open(TYPING) + at_character(3, "textDocument/completion", 122) + BYE,
         2,
         {{"/result/items/0/label", "priority"},
          {"/result/items/0/insertTextFormat", 1},
          {"/result/items/0/textEdit", {{"range", range(0, 118, 0, 122)}, {"newText", "\"priority\":"}}},
          {"/result/items/0/filterText", "\"priority\""},
          {"/result/items/0/detail", "целое число от 0 до 2"},
          {"/result/items/0/documentation", "целое число 0, 1 или 2 без кавычек"}}},
        {"completion as a snippet for a client that takes them",
         request(1, "initialize", R"({"capabilities":{"textDocument":{"completion":{"completionItem":{"snippetSupport":true}}}}})") +
             open(TYPING) + at_character(3, "textDocument/completion", 122) + BYE,
         2,
         {{"/result/items/0/insertTextFormat", 2}, {"/result/items/0/textEdit/newText", "\"priority\":${1:1}"}}},
        {"the hints of a range: the times in UTC with no zone of the author's",
         INIT + open(TYPING) + of_document(3, "textDocument/inlayHint", WHOLE_TEXT) +
             of_document(4, "textDocument/inlayHint", R"(,"range":{"start":{"line":0,"character":0},"end":{"line":0,"character":90}})") + BYE,
         2,
         {{"/result/0", {{"position", {{"line", 0}, {"character", 95}}}, {"label", "1970-01-01 00:00 UTC"}, {"kind", 1},
                         {"paddingLeft", true}}},
          {"/result/1/label", "1970-01-01 00:00:01 UTC"}}},
        {"nested symbols for a client that takes them: a message by its id, its title beside it",
         request(1, "initialize", R"({"capabilities":{"textDocument":{"documentSymbol":{"hierarchicalDocumentSymbolSupport":true}}}})") +
             open(TYPING) + of_document(3, "textDocument/documentSymbol") + BYE,
         2,
         {{"/result/0/kind", 7},
          {"/result/2/name", "messages"},
          {"/result/2/kind", 18},
          {"/result/2/children/0/children/0/kind", 8},
          {"/result/2/children/0/name", "a"},
          {"/result/2/children/0/detail", "t"},
          {"/result/2/children/0/kind", 19},
          {"/result/2/children/0/selectionRange", range(0, 43, 0, 46)},
          {"/result/2/children/1/children/1/name", "pri"}}},
        {"diagnostics asked for",
         INIT_PULL + open(TYPING) + of_document(3, "textDocument/diagnostic") + BYE,
         1,
         {{"/result/kind", "full"}, {"/result/items/0/code", "json"}, {"/result/items/0/range", range(0, 121, 0, 122)}}},
        {"a quick fix's edit, by document",
         INIT + open(TRAILING_COMMA) + code_action_request(5, URI, WHOLE_LINE, R"(["quickfix"])") + BYE,
         2,
         {{"/result/0/title", "удалить лишнюю запятую"},
          {"/result/0/kind", "quickfix"},
          {"/result/0/isPreferred", true},
          {"/result/0/diagnostics/0/range", range(0, 43, 0, 44)},
          {"/result/0/edit", {{"changes", {{URI, {{{"range", range(0, 43, 0, 44)}, {"newText", ""}}}}}}}}}},
        {"a suggestion's edit, not preferred",
         INIT + open(KEY_AND_COMMA) + code_action_request(5, URI, WHOLE_LINE, R"(["quickfix"])") + BYE,
         2,
         {{"/result/0/title", "заменить `revison` на `revision`"},
          {"/result/0/isPreferred", false},
          {"/result/0/edit", {{"changes", {{URI, {{{"range", range(0, 14, 0, 23)}, {"newText", "\"revision\""}}}}}}}}}},
        {"a quick fix's edit, versioned",
         INIT_VERSIONED + open(TRAILING_COMMA) + code_action_request(5, URI, WHOLE_LINE, R"(["quickfix"])") + BYE,
         2,
         {{"/result/0/edit",
           {{"documentChanges",
             {{{"textDocument", {{"uri", URI}, {"version", 1}}},
               {"edits", {{{"range", range(0, 43, 0, 44)}, {"newText", ""}}}}}}}}}}},
        {"fix-all makes the safe fixes only",
         INIT + open(KEY_AND_COMMA) + code_action_request(5, URI, WHOLE_LINE, R"(["source.fixAll"])") + BYE,
         2,
         {{"/result",
           {{{"title", "messages-lint: исправить всё, что исправляется надёжно"},
             {"kind", "source.fixAll.messages-lint"},
             {"edit", {{"changes", {{URI, {{{"range", range(0, 42, 0, 43)}, {"newText", ""}}}}}}}}}}}}},
        {"fix-all whose common tail would begin inside a character",
         INIT + open(BOM_AND_COMMENT) + code_action_request(5, URI, WHOLE_LINE, R"(["source.fixAll"])") + BYE,
         2,
         {{"/result/0/edit/changes/file:~1~1~1d~1messages.json",
           {{{"range", range(0, 0, 0, 15)}, {"newText", "{\"a\": \"Ћ"}}}}}},
        // Without its byte-order mark the text begins with the same byte, inside another character.
        {"fix-all whose common head would end inside a character",
         INIT + open("\xEF\xBB\xBF\xEF\xBF\xA5") + code_action_request(5, URI, WHOLE_LINE, R"(["source.fixAll"])") +
             BYE,
         2,
         {{"/result/0/edit/changes/file:~1~1~1d~1messages.json",
           {{{"range", range(0, 0, 0, 2)}, {"newText", "\xEF\xBF\xA5"}}}}}},
        {"fix-all of the text's very last bytes",
         INIT + open(R"({"schema": 1} // c)") + code_action_request(5, URI, WHOLE_LINE, R"(["source.fixAll"])") + BYE,
         2,
         {{"/result/0/edit/changes/file:~1~1~1d~1messages.json", {{{"range", range(0, 13, 0, 18)}, {"newText", ""}}}}}},
        // The name in a size problem is the path of the file: address, its escapes decoded.
        {"escapes in upper case, as VS Code writes them",
         INIT + open_at("file:///d/%D0%BB%D0%B5%D0%BD%D1%82%D0%B0%20%D1%8F%D0%BA%28x%29.json", OVERSIZE) + BYE,
         1,
         {{"/params/diagnostics/0/message", size_text("/d/лента як(x).json")}}},
        {"escapes in lower case, a host, and percent signs that escape nothing",
         INIT + open_at("file://host/d/%d0%bb%d1%8f%d0%ba%zz%4%", OVERSIZE) + BYE,
         1,
         {{"/params/diagnostics/0/message", size_text("/d/ляк%zz%4%")}}},
        {"an escape at the very end",
         INIT + open_at("file:///d/x%41", OVERSIZE) + BYE,
         1,
         {{"/params/diagnostics/0/message", size_text("/d/xA")}}},
        {"an address that is no file: one",
         INIT + open_at("untitled:%D0%BB", OVERSIZE) + BYE,
         1,
         {{"/params/diagnostics/0/message", size_text("untitled:%D0%BB")}}},
        // A repeated id points at its first appearance; a warning is of severity 2.
        {"a repeated id and its first appearance",
         INIT + open(R"({"schema":1,"revision":1,"messages":[)" + MESSAGE_A + "," + MESSAGE_A + "]}") + BYE,
         1,
         {{"/params/diagnostics/0/severity", 1},
          {"/params/diagnostics/0/code", "duplicate-id"},
          {"/params/diagnostics/0/relatedInformation",
           {{{"location", {{"uri", URI}, {"range", range(0, 43, 0, 46)}}}, {"message", "первое появление"}}}}}},
        {"a warning",
         INIT + open(R"({"schema":1,"revision":1,"messages":[)" + WITH_MILLISECONDS + "]}") + BYE,
         1,
         {{"/params/diagnostics/0/severity", 2}, {"/params/diagnostics/0/range", range(0, 114, 0, 126)}}},
        // The hover's range is its message's, from its opening brace to past its closing one: 37 to 125.
        {"hover on a message's first byte",
         INIT + open(R"({"schema":1,"revision":1,"messages":[)" + MESSAGE_A + "]}") +
             request(4, "textDocument/hover",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"position":{"line":0,"character":37}})") +
             request(5, "textDocument/hover",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"position":{"line":0,"character":36}})") +
             BYE,
         2,
         {{"/result/range", range(0, 37, 0, 125)}, {"/result/contents/kind", "markdown"}}},
        {"hover past a message's last byte",
         INIT + open(R"({"schema":1,"revision":1,"messages":[)" + MESSAGE_A + "]}") +
             request(4, "textDocument/hover",
                     R"({"textDocument":{"uri":"file:///d/messages.json"},"position":{"line":0,"character":125}})") +
             BYE,
         2,
         {{"/result", nullptr}}},
    };
}

TEST(LspSession, ExactValues) {
    for (const ExactRow& row : exact_rows()) {
        SCOPED_TRACE(row.name);
        ServerOptions options;
        options.now = 0;
        options.version = "9.8.7";
        Session session(options);
        std::string protocol = session.feed(row.input).protocol;
        if (!session.ended()) protocol += session.finish().protocol;
        std::vector<json> messages;
        for (std::string_view out = protocol; !out.empty();) {
            const std::size_t colon = out.find(": "), blank = out.find("\r\n\r\n");
            const std::size_t length = std::stoul(std::string(out.substr(colon + 2, blank - colon - 2)));
            messages.push_back(json::parse(out.substr(blank + 4, length)));
            out.remove_prefix(blank + 4 + length);
        }
        ASSERT_LT(row.message, messages.size());
        for (const auto& [pointer, value] : row.expected) {
            const json::json_pointer at(pointer);
            ASSERT_TRUE(messages[row.message].contains(at)) << pointer << " in " << messages[row.message].dump();
            EXPECT_EQ(messages[row.message][at], value) << pointer;
        }
    }
}

// The loop over descriptors: a read interrupted by a signal is read again; input that cannot be
// read and output no one reads end the session with status 1 and a line in the log.
void interrupted(int) {}

TEST(LspServe, Descriptors) {
    struct ServeRow {
        const char* name;
        enum { interrupted_read, interrupted_write, unreadable_input, output_closed } kind;
        int status;
        std::vector<std::string> expected;
        std::string logged;
    };
    // More answers than a pipe holds: the server waits in write() until the client reads.
    std::string many = INIT;
    std::vector<std::string> answers = {"1 result utf-16"};
    for (int id = 2; id < 1502; ++id) {
        many += request(id, "workspace/bogus");
        answers.push_back(std::to_string(id) + " error -32601");
    }
    answers.push_back("99 result");
    const std::vector<ServeRow> rows = {
        {"a read interrupted by a signal", ServeRow::interrupted_read, 0, {"1 result utf-16", "99 result"}, ""},
        {"a write interrupted by a signal", ServeRow::interrupted_write, 0, answers, ""},
        {"input that cannot be read",
         ServeRow::unreadable_input,
         1,
         {},
         "[messages-lint] стандартный ввод не читается\n"},
        {"output no one reads", ServeRow::output_closed, 1, {}, "[messages-lint] клиент больше не читает ответы\n"},
    };
    struct sigaction action {};
    action.sa_handler = interrupted;  // no SA_RESTART: a blocked read returns EINTR
    sigemptyset(&action.sa_mask);
    struct sigaction before {};
    ASSERT_EQ(::sigaction(SIGUSR1, &action, &before), 0);
    for (const ServeRow& row : rows) {
        SCOPED_TRACE(row.name);
        int in[2], out[2], log[2];
        ASSERT_EQ(::pipe(in), 0);
        ASSERT_EQ(::pipe(out), 0);
        ASSERT_EQ(::pipe(log), 0);
        int input = in[0];
        std::thread client;
        std::string drained;  // the answers the interrupted writer's client read
        if (row.kind == ServeRow::unreadable_input) {
            input = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);  // read() fails with EISDIR
            ::close(in[0]);
            ::close(in[1]);
        } else if (row.kind == ServeRow::interrupted_write) {
            // The client sends everything, and reads the answers only after three signals have
            // reached the server waiting to write.
            client = std::thread([server = ::pthread_self(), writer = in[1], reader = out[0], &many, &drained] {
                std::thread sender([writer, &many] {
                    EXPECT_EQ(::write(writer, many.data(), many.size()), static_cast<ssize_t>(many.size()));
                    const std::string bye = BYE;
                    EXPECT_EQ(::write(writer, bye.data(), bye.size()), static_cast<ssize_t>(bye.size()));
                    ::close(writer);
                });
                for (int i = 0; i < 3; ++i) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                    ::pthread_kill(server, SIGUSR1);
                }
                char buffer[4096];
                for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;) drained.append(buffer, n);
                sender.join();
            });
        } else {
            if (row.kind == ServeRow::output_closed) ::close(out[0]);
            const pthread_t server = ::pthread_self();
            client = std::thread([server, writer = in[1]] {
                const std::string first = INIT, second = BYE;
                EXPECT_EQ(::write(writer, first.data(), first.size()), static_cast<ssize_t>(first.size()));
                for (int i = 0; i < 3; ++i) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(30));
                    ::pthread_kill(server, SIGUSR1);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
                // The server may be gone already (output closed): its end of the pipe then is too.
                [[maybe_unused]] const ssize_t put = ::write(writer, second.data(), second.size());
                ::close(writer);
            });
        }
        ServerOptions options;
        options.now = 0;
        const int status = serve(input, out[1], log[1], options);
        ::close(out[1]);  // the end of the answers, for a client still reading them
        ::close(input);   // and of the input, for one still writing to a server that stopped
        if (client.joinable()) client.join();
        ::close(log[1]);
        const auto drain = [](int fd) {
            std::string bytes;
            char buffer[4096];
            for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
            ::close(fd);
            return bytes;
        };
        const std::string protocol = row.kind == ServeRow::output_closed       ? ""
                                     : row.kind == ServeRow::interrupted_write ? drained
                                                                               : drain(out[0]);
        if (row.kind == ServeRow::interrupted_write) ::close(out[0]);
        EXPECT_EQ(status, row.status);
        EXPECT_EQ(summarize_stream(protocol), row.expected);
        EXPECT_EQ(drain(log[0]), row.logged);
    }
    ::sigaction(SIGUSR1, &before, nullptr);
}

}  // namespace
}  // namespace mt::lsp
