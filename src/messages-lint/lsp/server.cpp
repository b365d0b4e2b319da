#include "server.h"

#include <ctime>
#include <nlohmann/json.hpp>

#include "code_actions.h"
#include "diagnostics.h"
#include "framing.h"
#include "hover.h"

namespace mt::lsp {
namespace {

using json = nlohmann::json;

// TextDocumentSyncKind.Incremental.
constexpr int SYNC_INCREMENTAL = 2;

// Texts that reach the client came from the client's own JSON or from the core, so they are
// UTF-8; should one not be, the message still goes out rather than the server stopping.
std::string dump(const json& message) { return message.dump(-1, ' ', false, json::error_handler_t::replace); }

void send(Output& out, const json& message) { out.protocol += frame(dump(message)); }

json error_json(ErrorCode code, std::string_view text, const json& id) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", static_cast<int>(code)}, {"message", text}}}};
}

void log(Output& out, std::string_view line) {
    out.log += "[messages-lint] ";
    out.log += line;
    out.log += '\n';
}

// The value at a path of object keys, or null when any step is missing or no object.
const json* find(const json& value, std::initializer_list<std::string_view> path) {
    const json* at = &value;
    for (const std::string_view key : path) {
        if (!at->is_object()) return nullptr;
        const auto it = at->find(key);
        if (it == at->end()) return nullptr;
        at = &*it;
    }
    return at;
}

lint::CheckOptions check_options(const ServerOptions& options) {
    return {.now = options.now.value_or(static_cast<std::int64_t>(std::time(nullptr))), .warnings = options.warnings};
}

Position position_json_value(const json& p) {
    return Position{.line = p.at("line").get<std::size_t>(), .character = p.at("character").get<std::size_t>()};
}

void publish(const ServerState& state, const Document& document, Output& out) {
    send(out, {{"jsonrpc", "2.0"},
               {"method", "textDocument/publishDiagnostics"},
               {"params", publish_params(document, state.encoding)}});
}

json initialize(ServerState& state, const json& params) {
    std::vector<std::string> offered;
    if (const json* list = find(params, {"capabilities", "general", "positionEncodings"}); list && list->is_array())
        for (const json& name : *list)
            if (name.is_string()) offered.push_back(name.get<std::string>());
    state.encoding = negotiate_encoding(offered);
    const json* versioned = find(params, {"capabilities", "workspace", "workspaceEdit", "documentChanges"});
    state.versioned_edits = versioned && versioned->is_boolean() && versioned->get<bool>();
    state.stage = ServerState::Stage::running;
    return {{"capabilities",
             {{"positionEncoding", encoding_name(state.encoding)},
              {"textDocumentSync", {{"openClose", true}, {"change", SYNC_INCREMENTAL}}},
              {"codeActionProvider", {{"codeActionKinds", json::array({"quickfix", FIX_ALL_KIND})}}},
              {"hoverProvider", true}}},
            {"serverInfo", {{"name", "messages-lint"}, {"version", state.options.version}}}};
}

const Document* document_of(const ServerState& state, const json& params) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    const auto it = state.documents.find(uri);
    return it == state.documents.end() ? nullptr : &it->second;
}

void did_open(ServerState& state, const json& params, Output& out) {
    const json& item = params.at("textDocument");
    Document document;
    document.uri = item.at("uri").get<std::string>();
    document.version = item.at("version").get<std::int64_t>();
    document.text = item.at("text").get<std::string>();
    document.lines = index_lines(document.text);
    check_document(document, check_options(state.options));
    const std::string uri = document.uri;
    const Document& stored = state.documents.insert_or_assign(uri, std::move(document)).first->second;
    publish(state, stored, out);
}

void did_change(ServerState& state, const json& params, Output& out) {
    const json& id = params.at("textDocument");
    const auto it = state.documents.find(id.at("uri").get<std::string>());
    if (it == state.documents.end()) return log(out, "изменение документа, который не открыт");
    Document& document = it->second;
    for (const json& c : params.at("contentChanges")) {
        Change change;
        change.text = c.at("text").get<std::string>();
        if (const json* range = find(c, {"range"})) {
            change.start = position_json_value(range->at("start"));
            change.end = position_json_value(range->at("end"));
        }
        if (auto applied = apply_change(document, change, state.encoding); !applied) {
            log(out, applied.error());
            break;
        }
    }
    document.version = id.at("version").get<std::int64_t>();
    check_document(document, check_options(state.options));
    publish(state, document, out);
}

void did_close(ServerState& state, const json& params, Output& out) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    state.documents.erase(uri);
    send(out, {{"jsonrpc", "2.0"},
               {"method", "textDocument/publishDiagnostics"},
               {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
}

json code_action(const ServerState& state, const json& params) {
    const Document* document = document_of(state, params);
    if (!document) return json::array();
    ActionRequest request;
    const json& range = params.at("range");
    request.range = Span{
        .begin = offset_of(document->text, document->lines, position_json_value(range.at("start")), state.encoding),
        .end = offset_of(document->text, document->lines, position_json_value(range.at("end")), state.encoding)};
    if (const json* only = find(params, {"context", "only"}); only && only->is_array())
        for (const json& kind : *only) request.only.push_back(kind.get<std::string>());
    request.versioned_edits = state.versioned_edits;
    return code_actions(*document, request, state.encoding, check_options(state.options));
}

json hover_at(const ServerState& state, const json& params) {
    const Document* document = document_of(state, params);
    if (!document) return nullptr;
    const std::size_t offset =
        offset_of(document->text, document->lines, position_json_value(params.at("position")), state.encoding);
    return hover(*document, offset, state.encoding);
}

void handle_notification(ServerState& state, std::string_view method, const json& params, Output& out) {
    if (method == "exit") {
        state.exit_status = state.stage == ServerState::Stage::shut_down ? 0 : 1;
        state.stage = ServerState::Stage::exited;
        return;
    }
    // Before initialize and after shutdown, notifications other than exit are dropped.
    if (state.stage != ServerState::Stage::running) return;
    if (method == "textDocument/didOpen") {
        did_open(state, params, out);
    } else if (method == "textDocument/didChange") {
        did_change(state, params, out);
    } else if (method == "textDocument/didClose") {
        did_close(state, params, out);
    }
    // initialized, didSave, $/cancelRequest, $/setTrace and the rest need nothing.
}

// The result of a request, or the error it gets.
struct Answer {
    json result;
    std::optional<ErrorCode> error;
    std::string text;
};

Answer handle_request(ServerState& state, std::string_view method, const json& params) {
    using Stage = ServerState::Stage;
    if (state.stage == Stage::waiting && method != "initialize")
        return {nullptr, ErrorCode::server_not_initialized, "сервер ещё не получил initialize"};
    if (state.stage == Stage::shut_down) return {nullptr, ErrorCode::invalid_request, "запрос после shutdown"};
    if (method == "initialize") {
        if (state.stage != Stage::waiting) return {nullptr, ErrorCode::invalid_request, "повторный initialize"};
        return {initialize(state, params), std::nullopt, {}};
    }
    if (method == "shutdown") {
        state.stage = Stage::shut_down;
        return {nullptr, std::nullopt, {}};
    }
    if (method == "textDocument/codeAction") return {code_action(state, params), std::nullopt, {}};
    if (method == "textDocument/hover") return {hover_at(state, params), std::nullopt, {}};
    return {nullptr, ErrorCode::method_not_found, "неизвестный метод " + std::string(method)};
}

}  // namespace

std::string error_message(ErrorCode code, std::string_view text) {
    return frame(dump(error_json(code, text, nullptr)));
}

bool handle_message(ServerState& state, std::string_view body, Output& out) {
    const json message = json::parse(body, nullptr, false);
    if (message.is_discarded()) {
        out.protocol += error_message(ErrorCode::parse_error, "тело сообщения — не JSON");
        log(out, "тело сообщения — не JSON");
        return false;
    }
    const json* version = find(message, {"jsonrpc"});
    const json* id = find(message, {"id"});
    const json* method = find(message, {"method"});
    const bool id_valid = id && (id->is_number_integer() || id->is_string());
    if (!version || *version != "2.0" || !method || !method->is_string() || (id && !id_valid)) {
        // A client's answer to a request of ours: the server sends none, so there is nothing to do.
        if (version && *version == "2.0" && id_valid && !method &&
            (message.contains("result") || message.contains("error")))
            return true;
        send(out,
             error_json(ErrorCode::invalid_request, "сообщение — не запрос JSON-RPC 2.0", id_valid ? *id : json()));
        return true;
    }
    const std::string name = method->get<std::string>();
    // By reference: a copy of a client's deeply nested value would recurse as deep as it goes.
    const json none = json::object();
    const json* given = find(message, {"params"});
    const json& params = given ? *given : none;
    if (!id) {
        try {
            handle_notification(state, name, params, out);
        } catch (const json::exception& e) {
            log(out, "неверные параметры " + name + ": " + e.what());
        }
        return true;
    }
    Answer answer;
    try {
        answer = handle_request(state, name, params);
    } catch (const json::exception& e) {
        answer = {nullptr, ErrorCode::invalid_params, "неверные параметры " + name + ": " + e.what()};
    }
    if (answer.error)
        send(out, error_json(*answer.error, answer.text, *id));
    else
        send(out, {{"jsonrpc", "2.0"}, {"id", *id}, {"result", std::move(answer.result)}});
    return true;
}

}  // namespace mt::lsp
