#include "hover.h"

#include "diagnostics.h"
#include "lint/hover.h"

namespace mt::lsp {

nlohmann::json hover(const Document& document, std::size_t offset, PositionEncoding encoding,
                     lint::HoverFormat format) {
    const std::vector<lint::MessageSummary>& messages = document.check.messages;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const lint::MessageSummary& m = messages[i];
        // A summary without its end reaches to where the next message begins.
        const std::size_t end = m.end > m.begin           ? m.end
                                : i + 1 < messages.size() ? messages[i + 1].begin
                                                          : document.text.size();
        if (offset < m.begin || offset >= end) continue;
        const std::string_view kind = format == lint::HoverFormat::markdown ? "markdown" : "plaintext";
        return {{"contents", {{"kind", kind}, {"value", lint::message_hover(m, format)}}},
                {"range", range_json(document, Span{.begin = m.begin, .end = end}, encoding)}};
    }
    return nullptr;
}

}  // namespace mt::lsp
