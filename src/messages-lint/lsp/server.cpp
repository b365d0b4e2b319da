#include "server.h"

#include <ctime>
#include <nlohmann/json.hpp>

#include "code_actions.h"
#include "completion.h"
#include "diagnostics.h"
#include "framing.h"
#include "hover.h"
#include "json_body.h"
#include "params.h"
#include "views.h"

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

std::string wrong_params_text(std::string_view method, const ParamError& error) {
    return "неверные параметры " + std::string(method) + ": " + param_error_text(error);
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
    return {.now = options.now.value_or(static_cast<std::int64_t>(std::time(nullptr))),
            .warnings = options.warnings,
            .zone = options.zone};
}

// An error that makes the rest of a handler moot: it returns at once with it.
#define MT_TRY(name, expression)                                              \
    auto name##_read = (expression);                                          \
    if (!name##_read) return std::unexpected(std::move(name##_read.error())); \
    auto name = std::move(*name##_read)

std::expected<Position, ParamError> position_at(const Field& field) {
    MT_TRY(line, as_index(field["line"]));
    MT_TRY(character, as_index(field["character"]));
    return Position{.line = line, .character = character};
}

bool declared(const json& params, std::initializer_list<std::string_view> path) {
    const json* flag = find(params, path);
    return flag && flag->is_boolean() && flag->get<bool>();
}

// Diagnostics go out unasked only to a client that does not ask for them.
void publish(const ServerState& state, const Document& document, Output& out) {
    if (state.pull_diagnostics) return;
    send(out, {{"jsonrpc", "2.0"},
               {"method", "textDocument/publishDiagnostics"},
               {"params", publish_params(document, state.encoding)}});
}

// The settings a client sends, under "messages-lint" (or "messagesLint", VS Code's section) or
// on their own: "warnings" (true or false) and "hintZone" ("UTC", or "author" for the author's
// zone). Returns which changed: the warnings, the hints' zone.
std::pair<bool, bool> apply_settings(ServerState& state, const json& settings) {
    const json* own = find(settings, {"messages-lint"});
    if (!own) own = find(settings, {"messagesLint"});
    const json& given = own && own->is_object() ? *own : settings;
    bool warnings = false, zone = false;
    if (const json* value = find(given, {"warnings"}); value && value->is_boolean()) {
        warnings = value->get<bool>() != state.options.warnings;
        state.options.warnings = value->get<bool>();
    }
    if (const json* value = find(given, {"hintZone"}); value && value->is_string()) {
        const std::string name = value->get<std::string>();
        const bool utc = name == "UTC" || name == "utc";
        if (utc || name == "author") {
            zone = utc != state.hints_in_utc;
            state.hints_in_utc = utc;
        }
    }
    return {warnings, zone};
}

json initialize(ServerState& state, const json& params) {
    std::vector<std::string> offered;
    if (const json* list = find(params, {"capabilities", "general", "positionEncodings"}); list && list->is_array())
        for (const json& name : *list)
            if (name.is_string()) offered.push_back(name.get<std::string>());
    state.encoding = negotiate_encoding(offered);
    const json* versioned = find(params, {"capabilities", "workspace", "workspaceEdit", "documentChanges"});
    state.versioned_edits = versioned && versioned->is_boolean() && versioned->get<bool>();
    // The formats in the client's order of preference: the first that is either kind decides.
    if (const json* formats = find(params, {"capabilities", "textDocument", "hover", "contentFormat"});
        formats && formats->is_array()) {
        for (const json& format : *formats) {
            if (format == "markdown" || format == "plaintext") {
                state.hover_format = format == "markdown" ? lint::HoverFormat::markdown : lint::HoverFormat::plain_text;
                break;
            }
        }
    }
    state.snippets = declared(params, {"capabilities", "textDocument", "completion", "completionItem", "snippetSupport"});
    state.nested_symbols =
        declared(params, {"capabilities", "textDocument", "documentSymbol", "hierarchicalDocumentSymbolSupport"});
    const json* pull = find(params, {"capabilities", "textDocument", "diagnostic"});
    state.pull_diagnostics = pull && pull->is_object();
    state.refresh_diagnostics = declared(params, {"capabilities", "workspace", "diagnostics", "refreshSupport"});
    state.refresh_hints = declared(params, {"capabilities", "workspace", "inlayHint", "refreshSupport"});
    if (const json* settings = find(params, {"initializationOptions"}); settings && settings->is_object())
        apply_settings(state, *settings);
    state.stage = ServerState::Stage::running;
    json capabilities = {{"positionEncoding", encoding_name(state.encoding)},
                         {"textDocumentSync", {{"openClose", true}, {"change", SYNC_INCREMENTAL}}},
                         {"codeActionProvider", {{"codeActionKinds", json::array({"quickfix", FIX_ALL_KIND})}}},
                         {"hoverProvider", true},
                         {"completionProvider", {{"triggerCharacters", json::array({"\"", ":", "{"})}}},
                         {"inlayHintProvider", true},
                         {"documentSymbolProvider", true},
                         {"foldingRangeProvider", true},
                         {"selectionRangeProvider", true},
                         {"definitionProvider", true},
                         {"referencesProvider", true}};
    if (state.pull_diagnostics)
        capabilities["diagnosticProvider"] = {
            {"identifier", "messages-lint"}, {"interFileDependencies", false}, {"workspaceDiagnostics", false}};
    return {{"capabilities", std::move(capabilities)},
            {"serverInfo", {{"name", "messages-lint"}, {"version", state.options.version}}}};
}

// The open document the parameters name: none when it is not open.
std::expected<const Document*, ParamError> document_of(const ServerState& state, const Field& params) {
    MT_TRY(uri, as_string(params["textDocument"]["uri"]));
    const auto it = state.documents.find(uri);
    return it == state.documents.end() ? nullptr : &it->second;
}

std::expected<void, ParamError> did_open(ServerState& state, const Field& params, Output& out) {
    const Field item = params["textDocument"];
    Document document;
    MT_TRY(uri, as_string(item["uri"]));
    MT_TRY(version, as_integer(item["version"]));
    MT_TRY(text, as_string(item["text"]));
    document.uri = std::move(uri);
    document.version = version;
    document.text = std::move(text);
    document.lines = index_lines(document.text);
    check_document(document, check_options(state.options));
    const std::string key = document.uri;
    const Document& stored = state.documents.insert_or_assign(key, std::move(document)).first->second;
    publish(state, stored, out);
    return {};
}

std::expected<Change, ParamError> change_at(const Field& field) {
    Change change;
    MT_TRY(text, as_string(field["text"]));
    change.text = std::move(text);
    if (const Field range = field["range"]; range.present()) {
        MT_TRY(start, position_at(range["start"]));
        MT_TRY(end, position_at(range["end"]));
        change.start = start;
        change.end = end;
    }
    return change;
}

std::expected<void, ParamError> did_change(ServerState& state, const Field& params, Output& out) {
    const Field id = params["textDocument"];
    MT_TRY(uri, as_string(id["uri"]));
    MT_TRY(version, as_integer(id["version"]));
    MT_TRY(list, as_array(params["contentChanges"]));
    // Every change is read before any is applied: parameters that are wrong leave the text as it was.
    std::vector<Change> changes;
    for (std::size_t i = 0; i < list->size(); ++i) {
        MT_TRY(change, change_at(params["contentChanges"][i]));
        changes.push_back(std::move(change));
    }
    const auto it = state.documents.find(uri);
    if (it == state.documents.end()) {
        log(out, "изменение документа, который не открыт");
        return {};
    }
    Document& document = it->second;
    for (const Change& change : changes) {
        if (auto applied = apply_change(document, change, state.encoding); !applied) {
            log(out, applied.error());
            break;
        }
    }
    document.version = version;
    check_document(document, check_options(state.options));
    publish(state, document, out);
    return {};
}

std::expected<void, ParamError> did_close(ServerState& state, const Field& params, Output& out) {
    MT_TRY(uri, as_string(params["textDocument"]["uri"]));
    state.documents.erase(uri);
    if (state.pull_diagnostics) return {};
    send(out, {{"jsonrpc", "2.0"},
               {"method", "textDocument/publishDiagnostics"},
               {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
    return {};
}

std::expected<json, ParamError> code_action(const ServerState& state, const Field& params) {
    MT_TRY(document, document_of(state, params));
    MT_TRY(start, position_at(params["range"]["start"]));
    MT_TRY(end, position_at(params["range"]["end"]));
    std::vector<std::string> only;
    if (const Field kinds = params["context"]["only"]; kinds.present()) {
        MT_TRY(list, as_array(kinds));
        for (std::size_t i = 0; i < list->size(); ++i) {
            MT_TRY(kind, as_string(kinds[i]));
            only.push_back(std::move(kind));
        }
    }
    if (!document) return json::array();
    ActionRequest request;
    request.range = Span{.begin = document->lines.offset(document->text, start, unit_of(state.encoding)),
                         .end = document->lines.offset(document->text, end, unit_of(state.encoding))};
    request.only = std::move(only);
    request.versioned_edits = state.versioned_edits;
    return code_actions(*document, request, state.encoding, check_options(state.options));
}

std::expected<json, ParamError> hover_at(const ServerState& state, const Field& params) {
    MT_TRY(document, document_of(state, params));
    MT_TRY(position, position_at(params["position"]));
    if (!document) return nullptr;
    const std::size_t offset = document->lines.offset(document->text, position, unit_of(state.encoding));
    return hover(*document, offset, state.encoding, state.hover_format);
}

// The document the parameters name and the byte at their position.
struct DocumentPlace {
    const Document* document = nullptr;
    std::size_t offset = 0;
};

std::expected<DocumentPlace, ParamError> place_at(const ServerState& state, const Field& params) {
    MT_TRY(document, document_of(state, params));
    MT_TRY(position, position_at(params["position"]));
    if (!document) return DocumentPlace{};
    return DocumentPlace{document, document->lines.offset(document->text, position, unit_of(state.encoding))};
}

lint::AuthorZone hint_zone(const ServerState& state) { return state.hints_in_utc ? lint::AuthorZone{} : state.options.zone; }

std::expected<json, ParamError> completion_at(const ServerState& state, const Field& params) {
    MT_TRY(place, place_at(state, params));
    if (!place.document) return nullptr;
    const lint::CompletionOptions options{.zone = state.options.zone, .now = check_options(state.options).now};
    return completion_list(*place.document, place.offset, options, state.snippets, state.encoding);
}

std::expected<json, ParamError> definition_at(const ServerState& state, const Field& params) {
    MT_TRY(place, place_at(state, params));
    if (!place.document) return nullptr;
    return definition(*place.document, place.offset, state.encoding);
}

std::expected<json, ParamError> references_at(const ServerState& state, const Field& params) {
    MT_TRY(place, place_at(state, params));
    bool with_first = true;
    if (const Field flag = params["context"]["includeDeclaration"]; flag.present() && flag.value->is_boolean())
        with_first = flag.value->get<bool>();
    if (!place.document) return json::array();
    return references(*place.document, place.offset, with_first, state.encoding);
}

std::expected<json, ParamError> symbols_of(const ServerState& state, const Field& params) {
    MT_TRY(document, document_of(state, params));
    if (!document) return json::array();
    return document_symbols(*document, state.encoding, state.nested_symbols);
}

std::expected<json, ParamError> folding_of(const ServerState& state, const Field& params) {
    MT_TRY(document, document_of(state, params));
    if (!document) return json::array();
    return folding_ranges(*document);
}

std::expected<json, ParamError> selection_of(const ServerState& state, const Field& params) {
    MT_TRY(document, document_of(state, params));
    MT_TRY(list, as_array(params["positions"]));
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < list->size(); ++i) {
        MT_TRY(position, position_at(params["positions"][i]));
        if (document) offsets.push_back(document->lines.offset(document->text, position, unit_of(state.encoding)));
    }
    if (!document) return json::array();
    return selection_ranges(*document, offsets, state.encoding);
}

std::expected<json, ParamError> hints_of(const ServerState& state, const Field& params) {
    MT_TRY(document, document_of(state, params));
    MT_TRY(start, position_at(params["range"]["start"]));
    MT_TRY(end, position_at(params["range"]["end"]));
    if (!document) return json::array();
    const lint::Unit unit = unit_of(state.encoding);
    const Span range{document->lines.offset(document->text, start, unit), document->lines.offset(document->text, end, unit)};
    return inlay_hints(*document, range, hint_zone(state), state.encoding);
}

std::expected<json, ParamError> diagnostics_of(const ServerState& state, const Field& params) {
    MT_TRY(document, document_of(state, params));
    json items = json::array();
    if (document)
        for (const lint::Problem& p : document->check.problems) items.push_back(diagnostic_json(*document, p, state.encoding));
    return json{{"kind", "full"}, {"items", std::move(items)}};
}

// A request of the server's own, which the client answers (handle_message drops the answer).
void ask(ServerState& state, std::string_view method, Output& out) {
    send(out, {{"jsonrpc", "2.0"}, {"id", state.next_request++}, {"method", method}});
}

void change_configuration(ServerState& state, const json& params, Output& out) {
    const json* settings = find(params, {"settings"});
    if (!settings || !settings->is_object()) return;
    const auto [warnings, zone] = apply_settings(state, *settings);
    if (warnings) {
        for (auto& [uri, document] : state.documents) {
            check_document(document, check_options(state.options));
            publish(state, document, out);
        }
        if (state.pull_diagnostics && state.refresh_diagnostics) ask(state, "workspace/diagnostic/refresh", out);
    }
    if (zone && state.refresh_hints) ask(state, "workspace/inlayHint/refresh", out);
}

#undef MT_TRY

std::expected<void, ParamError> handle_notification(ServerState& state, std::string_view method, const json& params,
                                                    Output& out) {
    if (method == "exit") {
        state.exit_status = state.stage == ServerState::Stage::shut_down ? 0 : 1;
        state.stage = ServerState::Stage::exited;
        return {};
    }
    // Before initialize and after shutdown, notifications other than exit are dropped.
    if (state.stage != ServerState::Stage::running) return {};
    const Field root = params_root(params);
    if (method == "textDocument/didOpen") return did_open(state, root, out);
    if (method == "textDocument/didChange") return did_change(state, root, out);
    if (method == "textDocument/didClose") return did_close(state, root, out);
    if (method == "workspace/didChangeConfiguration") {
        change_configuration(state, params, out);
        return {};
    }
    // initialized, didSave, $/cancelRequest, $/setTrace and the rest need nothing.
    return {};
}

// The result of a request, or the error it gets.
struct Answer {
    json result;
    std::optional<ErrorCode> error;
    std::string text;
};

Answer answer_of(std::string_view method, std::expected<json, ParamError> result) {
    if (!result) return {nullptr, ErrorCode::invalid_params, wrong_params_text(method, result.error())};
    return {std::move(*result), std::nullopt, {}};
}

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
    const Field root = params_root(params);
    if (method == "textDocument/codeAction") return answer_of(method, code_action(state, root));
    if (method == "textDocument/hover") return answer_of(method, hover_at(state, root));
    if (method == "textDocument/completion") return answer_of(method, completion_at(state, root));
    if (method == "textDocument/inlayHint") return answer_of(method, hints_of(state, root));
    if (method == "textDocument/documentSymbol") return answer_of(method, symbols_of(state, root));
    if (method == "textDocument/foldingRange") return answer_of(method, folding_of(state, root));
    if (method == "textDocument/selectionRange") return answer_of(method, selection_of(state, root));
    if (method == "textDocument/definition") return answer_of(method, definition_at(state, root));
    if (method == "textDocument/references") return answer_of(method, references_at(state, root));
    if (method == "textDocument/diagnostic" && state.pull_diagnostics)
        return answer_of(method, diagnostics_of(state, root));
    return {nullptr, ErrorCode::method_not_found, "неизвестный метод " + std::string(method)};
}

}  // namespace

std::string error_message(ErrorCode code, std::string_view text) {
    return frame(dump(error_json(code, text, nullptr)));
}

bool handle_message(ServerState& state, std::string_view body, Output& out) {
    const json message = read_body(body);
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
        if (auto handled = handle_notification(state, name, params, out); !handled)
            log(out, wrong_params_text(name, handled.error()));
        return true;
    }
    Answer answer = handle_request(state, name, params);
    if (answer.error)
        send(out, error_json(*answer.error, answer.text, *id));
    else
        send(out, {{"jsonrpc", "2.0"}, {"id", *id}, {"result", std::move(answer.result)}});
    return true;
}

}  // namespace mt::lsp
