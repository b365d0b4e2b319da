#include "completion.h"

#include "common/digits.h"
#include "diagnostics.h"

namespace mt::lsp {
namespace {

// CompletionItemKind and InsertTextFormat of the protocol.
constexpr int ITEM_PROPERTY = 10, ITEM_VALUE = 12, ITEM_SNIPPET = 15, ITEM_CONSTANT = 21;
constexpr int FORMAT_PLAIN = 1, FORMAT_SNIPPET = 2;

int item_kind(lint::CompletionKind kind) {
    switch (kind) {
        case lint::CompletionKind::key:
            return ITEM_PROPERTY;
        case lint::CompletionKind::value:
            return ITEM_VALUE;
        case lint::CompletionKind::date:
            return ITEM_CONSTANT;
        case lint::CompletionKind::message:
            return ITEM_SNIPPET;
    }
    return ITEM_VALUE;
}

// "0003": keeps the core's order where a client sorts by label.
std::string sort_text(std::size_t index) {
    const std::string digits = decimal(index);
    return std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
}

}  // namespace

nlohmann::json completion_list(const Document& document, std::size_t offset, const lint::CompletionOptions& options,
                               bool snippets, PositionEncoding encoding) {
    nlohmann::json items = nlohmann::json::array();
    const std::vector<lint::CompletionItem> found = lint::completions(lint::DraftView(document.text), offset, options);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const lint::CompletionItem& c = found[i];
        const bool snippet = snippets && !c.snippet.empty();
        nlohmann::json item = {{"label", c.label},
                               {"kind", item_kind(c.kind)},
                               {"sortText", sort_text(i)},
                               {"filterText", c.filter.empty() ? c.label : c.filter},
                               {"insertTextFormat", snippet ? FORMAT_SNIPPET : FORMAT_PLAIN},
                               {"textEdit",
                                {{"range", range_json(document, c.replace, encoding)},
                                 {"newText", snippet ? c.snippet : c.text}}}};
        if (!c.detail.empty()) item["detail"] = c.detail;
        if (!c.documentation.empty()) item["documentation"] = c.documentation;
        items.push_back(std::move(item));
    }
    return {{"isIncomplete", false}, {"items", std::move(items)}};
}

}  // namespace mt::lsp
