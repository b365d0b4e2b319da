#include "views.h"

#include "diagnostics.h"
#include "lint/inlay_hints.h"
#include "lint/outline.h"

namespace mt::lsp {
namespace {

using json = nlohmann::json;

// SymbolKind of the protocol.
constexpr int SYMBOL_ARRAY = 18, SYMBOL_OBJECT = 19, SYMBOL_FIELD = 8, SYMBOL_PROPERTY = 7;
// InlayHintKind of the protocol.
constexpr int HINT_TYPE = 1;

int symbol_kind(lint::OutlineKind kind) {
    switch (kind) {
        case lint::OutlineKind::feed_field:
            return SYMBOL_PROPERTY;
        case lint::OutlineKind::messages:
            return SYMBOL_ARRAY;
        case lint::OutlineKind::message:
            return SYMBOL_OBJECT;
        case lint::OutlineKind::field:
            return SYMBOL_FIELD;
    }
    return SYMBOL_FIELD;
}

json symbol_json(const Document& document, const lint::OutlineEntry& entry, PositionEncoding encoding) {
    json symbol = {{"name", entry.name},
                   {"kind", symbol_kind(entry.kind)},
                   {"range", range_json(document, entry.span, encoding)},
                   {"selectionRange", range_json(document, entry.name_span, encoding)}};
    if (!entry.detail.empty()) symbol["detail"] = entry.detail;
    if (!entry.children.empty()) {
        json children = json::array();
        for (const lint::OutlineEntry& child : entry.children) children.push_back(symbol_json(document, child, encoding));
        symbol["children"] = std::move(children);
    }
    return symbol;
}

void flatten(const Document& document, const lint::OutlineEntry& entry, const std::string& container,
             PositionEncoding encoding, json& out) {
    json symbol = {{"name", entry.name},
                   {"kind", symbol_kind(entry.kind)},
                   {"location", {{"uri", document.uri}, {"range", range_json(document, entry.span, encoding)}}}};
    if (!container.empty()) symbol["containerName"] = container;
    out.push_back(std::move(symbol));
    for (const lint::OutlineEntry& child : entry.children) flatten(document, child, entry.name, encoding, out);
}

// Whether only spaces and tabs stand before byte `at` on its line.
bool begins_line(std::string_view text, std::size_t at) {
    while (at > 0 && (text[at - 1] == ' ' || text[at - 1] == '\t')) --at;
    return at == 0 || text[at - 1] == '\n' || text[at - 1] == '\r';
}

json location_json(const Document& document, Span span, PositionEncoding encoding) {
    return {{"uri", document.uri}, {"range", range_json(document, span, encoding)}};
}

}  // namespace

json document_symbols(const Document& document, PositionEncoding encoding, bool nested) {
    json out = json::array();
    for (const lint::OutlineEntry& entry : lint::outline(lint::DraftView(document.text))) {
        if (nested)
            out.push_back(symbol_json(document, entry, encoding));
        else
            flatten(document, entry, "", encoding, out);
    }
    return out;
}

json folding_ranges(const Document& document) {
    json out = json::array();
    const std::string_view text = document.text;
    for (const Span span : lint::folding_spans(lint::DraftView(text))) {
        const std::size_t start = document.lines.position(text, span.begin, lint::Unit::utf8).line;
        const std::size_t last = span.end > span.begin ? span.end - 1 : span.begin;
        std::size_t end = document.lines.position(text, last, lint::Unit::utf8).line;
        // A closing bracket that begins its line stays in sight, as editors fold JSON.
        const bool closer = text[last] == '}' || text[last] == ']';
        if (closer && end > start && begins_line(text, last)) --end;
        if (end > start) out.push_back({{"startLine", start}, {"endLine", end}});
    }
    return out;
}

json selection_ranges(const Document& document, std::span<const std::size_t> offsets, PositionEncoding encoding) {
    json out = json::array();
    const lint::DraftView draft(document.text);
    for (const std::size_t offset : offsets) {
        const std::vector<Span> spans = lint::selection_spans(draft, offset);
        json range = nullptr;
        for (std::size_t i = spans.size(); i-- > 0;) {
            json inner = {{"range", range_json(document, spans[i], encoding)}};
            if (!range.is_null()) inner["parent"] = std::move(range);
            range = std::move(inner);
        }
        if (range.is_null()) range = {{"range", range_json(document, {offset, offset}, encoding)}};
        out.push_back(std::move(range));
    }
    return out;
}

json definition(const Document& document, std::size_t offset, PositionEncoding encoding) {
    const std::optional<Span> first = lint::first_occurrence(lint::DraftView(document.text), offset);
    if (!first) return nullptr;
    return location_json(document, *first, encoding);
}

json references(const Document& document, std::size_t offset, bool with_first, PositionEncoding encoding) {
    json out = json::array();
    const std::vector<Span> ids = lint::id_occurrences(lint::DraftView(document.text), offset);
    for (std::size_t i = with_first ? 0 : 1; i < ids.size(); ++i) out.push_back(location_json(document, ids[i], encoding));
    return out;
}

json inlay_hints(const Document& document, Span range, const lint::AuthorZone& zone, PositionEncoding encoding) {
    json out = json::array();
    for (const lint::InlayHint& hint : lint::inlay_hints(lint::DraftView(document.text), zone)) {
        if (hint.offset < range.begin || hint.offset > range.end) continue;
        const Position at = document.lines.position(document.text, hint.offset, unit_of(encoding));
        out.push_back({{"position", {{"line", at.line}, {"character", at.character}}},
                       {"label", hint.label},
                       {"kind", HINT_TYPE},
                       {"paddingLeft", true}});
    }
    return out;
}

}  // namespace mt::lsp
