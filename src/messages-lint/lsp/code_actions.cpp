#include "code_actions.h"

#include <algorithm>

#include "lint/fix_document.h"

namespace mt::lsp {
namespace {

bool wanted(std::string_view kind, const std::vector<std::string>& only) {
    return only.empty() || std::any_of(only.begin(), only.end(), [&](const std::string& prefix) {
               return kind == prefix || (kind.starts_with(prefix) && kind[prefix.size()] == '.');
           });
}

nlohmann::json text_edit(const Document& document, const lint::Edit& edit, PositionEncoding encoding) {
    return {{"range", range_json(document, Span{.begin = edit.begin, .end = edit.end}, encoding)},
            {"newText", edit.replacement}};
}

nlohmann::json workspace_edit(const Document& document, nlohmann::json edits, bool versioned) {
    if (!versioned) return {{"changes", {{document.uri, std::move(edits)}}}};
    return {{"documentChanges",
             nlohmann::json::array({{{"textDocument", {{"uri", document.uri}, {"version", document.version}}},
                                     {"edits", std::move(edits)}}})}};
}

// The one edit that turns `from` into `to`: the bytes between their common beginning and end.
lint::Edit difference(std::string_view from, std::string_view to) {
    std::size_t head = 0;
    while (head < from.size() && head < to.size() && from[head] == to[head]) ++head;
    std::size_t tail = 0;
    while (tail < from.size() - head && tail < to.size() - head &&
           from[from.size() - 1 - tail] == to[to.size() - 1 - tail])
        ++tail;
    // Keep the edit on character boundaries: a common byte inside a character is not a common
    // character.
    while (head > 0 && (static_cast<unsigned char>(from[head]) & 0xC0) == 0x80) --head;
    while (tail > 0 && (static_cast<unsigned char>(from[from.size() - tail]) & 0xC0) == 0x80) --tail;
    lint::Edit edit;
    edit.begin = head;
    edit.end = from.size() - tail;
    edit.replacement = std::string(to.substr(head, to.size() - tail - head));
    return edit;
}

}  // namespace

nlohmann::json code_actions(const Document& document, const ActionRequest& request, PositionEncoding encoding,
                            const lint::CheckOptions& options) {
    nlohmann::json actions = nlohmann::json::array();
    if (wanted("quickfix", request.only)) {
        for (const lint::Problem& problem : document.check.problems) {
            if (!problem.fix) continue;
            const Span span = span_of(document, problem.span);
            if (span.end < request.range.begin || span.begin > request.range.end) continue;
            nlohmann::json edits = nlohmann::json::array();
            for (const lint::Edit& e : problem.fix->edits) edits.push_back(text_edit(document, e, encoding));
            actions.push_back({{"title", problem.fix->title},
                               {"kind", "quickfix"},
                               {"diagnostics", nlohmann::json::array({diagnostic_json(document, problem, encoding)})},
                               {"isPreferred", problem.fix->safe},
                               {"edit", workspace_edit(document, std::move(edits), request.versioned_edits)}});
        }
    }
    if (wanted(FIX_ALL_KIND, request.only)) {
        lint::FixOptions fixing;
        fixing.unsafe = false;
        fixing.check = options;
        const lint::FixOutcome fixed = lint::fix_document(document.text, fixing);
        if (fixed.document != document.text) {
            const nlohmann::json edits =
                nlohmann::json::array({text_edit(document, difference(document.text, fixed.document), encoding)});
            actions.push_back({{"title", "messages-lint: исправить всё, что исправляется надёжно"},
                               {"kind", FIX_ALL_KIND},
                               {"edit", workspace_edit(document, edits, request.versioned_edits)}});
        }
    }
    return actions;
}

}  // namespace mt::lsp
