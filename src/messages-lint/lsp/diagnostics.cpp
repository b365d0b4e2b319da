#include "diagnostics.h"

#include <algorithm>

#include "common/utf8.h"
#include "lint/rules.h"

namespace mt::lsp {
namespace {

// DiagnosticSeverity of the protocol.
constexpr int SEVERITY_ERROR = 1, SEVERITY_WARNING = 2;

nlohmann::json position_json(Position p) { return {{"line", p.line}, {"character", p.character}}; }

}  // namespace

Span span_of(const Document& document, Span marked) {
    const std::size_t begin = std::min(marked.begin, document.text.size());
    const std::size_t end = marked.end > begin
                                ? character_end(document.text, std::min(marked.end, document.text.size()))
                                : next_character(document.text, begin);
    return Span{.begin = begin, .end = end};
}

nlohmann::json range_json(const Document& document, Span span, PositionEncoding encoding) {
    return {{"start", position_json(document.lines.position(document.text, span.begin, unit_of(encoding)))},
            {"end", position_json(document.lines.position(document.text, span.end, unit_of(encoding)))}};
}

nlohmann::json diagnostic_json(const Document& document, const lint::Problem& problem, PositionEncoding encoding) {
    std::string message =
        problem.after_first_error ? std::string(lint::AFTER_FIRST_ERROR) + ": " + problem.text : problem.text;
    for (const std::string& note : problem.notes) message += "\nпримечание: " + note;
    nlohmann::json d = {{"range", range_json(document, span_of(document, problem.span), encoding)},
                        {"severity", problem.severity == lint::Severity::error ? SEVERITY_ERROR : SEVERITY_WARNING},
                        {"code", lint::code_name(problem.code)},
                        {"source", "messages-lint"},
                        {"message", message}};
    if (problem.related) {
        d["relatedInformation"] = nlohmann::json::array(
            {{{"location",
               {{"uri", document.uri}, {"range", range_json(document, span_of(document, *problem.related), encoding)}}},
              {"message", "первое появление"}}});
    }
    return d;
}

nlohmann::json publish_params(const Document& document, PositionEncoding encoding) {
    nlohmann::json list = nlohmann::json::array();
    for (const lint::Problem& p : document.check.problems) list.push_back(diagnostic_json(document, p, encoding));
    return {{"uri", document.uri}, {"version", document.version}, {"diagnostics", std::move(list)}};
}

}  // namespace mt::lsp
