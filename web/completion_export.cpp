// What the editor offers to write, as the lint core's completion gives it: the items at the
// cursor, and the new message of the page's «Новое сообщение» button. Places are the editor's
// [line, character] pairs (page_view.h), so the page only hands the items to CodeMirror.
//
// Memory: as mt_check (module.cpp), the caller copies its inputs into blocks from mt_alloc and
// frees them and the result with mt_free.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block.h"
#include "common/json_string.h"
#include "lint/completion.h"
#include "lint/line_index.h"
#include "lint/zone_table.h"
#include "page_view.h"

namespace {

using namespace mt;

// CodeMirror's names for the kinds, which choose each item's icon.
std::string_view type_of(lint::CompletionKind kind) {
    switch (kind) {
        case lint::CompletionKind::key: return "property";
        case lint::CompletionKind::value: return "enum";
        case lint::CompletionKind::date: return "constant";
        case lint::CompletionKind::message: return "class";
    }
    return "text";
}

// {"from", "to", "options": [{"label", "filter", "detail", "info", "apply", "snippet", "type"}]}:
// every item at one place writes over the same bytes, from and to (the cursor when none is
// offered). `filter` is what the bytes written over are matched against, `label` what is shown.
std::string completions_json(std::string_view bytes, std::size_t line, std::size_t character,
                             const lint::CompletionOptions& options) {
    const lint::LineIndex lines(bytes, lint::LineEnds::any);
    const std::size_t offset = lines.offset(bytes, {line, character}, lint::Unit::utf16);
    const std::vector<lint::CompletionItem> items = lint::completions(lint::DraftView(bytes), offset, options);
    const Span replace = items.empty() ? Span{offset, offset} : items.front().replace;
    std::string out = "{\"from\":" + web::place_json(bytes, lines, replace.begin) +
                      ",\"to\":" + web::place_json(bytes, lines, replace.end) + ",\"options\":[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        const lint::CompletionItem& item = items[i];
        out += i > 0 ? ",{\"label\":" : "{\"label\":";
        append_json_string(out, item.label);
        web::append_field(out, "filter", item.filter.empty() ? item.label : item.filter);
        web::append_field(out, "detail", item.detail);
        web::append_field(out, "info", item.documentation);
        web::append_field(out, "apply", item.text);
        web::append_field(out, "snippet", item.snippet);
        web::append_field(out, "type", type_of(item.kind));
        out += '}';
    }
    return out + "]}";
}

// null, or {"label", "changes": [{"from", "to", "insert"}], "cursor"}: the new message as the
// fixes' changes, and where the cursor goes once it is in, inside its empty title, as an editor
// place of the document after the change.
std::string new_message_json(std::string_view bytes, const lint::CompletionOptions& options) {
    const std::optional<lint::NewMessageFix> added = lint::new_message_fix(lint::DraftView(bytes), options);
    if (!added) return "null";
    const lint::Fix& fix = added->fix;
    const lint::Edit& edit = fix.edits.front();
    const lint::LineIndex lines(bytes, lint::LineEnds::any);
    std::string out = "{\"label\":";
    append_json_string(out, fix.title);
    out += ",\"changes\":[{\"from\":" + web::place_json(bytes, lines, edit.begin) +
           ",\"to\":" + web::place_json(bytes, lines, edit.end) + ",\"insert\":";
    append_json_string(out, edit.replacement);
    const std::string after = std::string(bytes.substr(0, edit.begin)) + edit.replacement +
                              std::string(bytes.substr(edit.end));
    out += "}],\"cursor\":" +
           web::place_json(after, lint::LineIndex(after, lint::LineEnds::any), edit.begin + added->title);
    return out + "}";
}

}  // namespace

extern "C" {

// The completion items at [line, character] of `document_size` bytes at `document`, with `now`
// as the present time and the author's zone as mt_check takes it. Stores the JSON
// (completions_json) with hand_over: returns 0, or 1 when it could not be allocated.
__attribute__((export_name("mt_complete"))) int mt_complete(const char* document, std::size_t document_size,
                                                            std::uint32_t line, std::uint32_t character,
                                                            std::int64_t now, const char* zone_name,
                                                            std::size_t zone_name_size, const std::int64_t* spans,
                                                            std::size_t span_count, std::uint32_t* result) {
    const mt::lint::ZoneTable zone{std::string_view(zone_name, zone_name_size), spans, span_count};
    const std::string json = completions_json(std::string_view(document, document_size), line, character,
                                              {.zone = zone.author_zone(), .now = now});
    return mt::web::hand_over(json, result);
}

// The new message added after the last of `document_size` bytes at `document`, as
// new_message_json; the rest as mt_complete.
__attribute__((export_name("mt_new_message"))) int mt_new_message(const char* document, std::size_t document_size,
                                                                  std::int64_t now, const char* zone_name,
                                                                  std::size_t zone_name_size,
                                                                  const std::int64_t* spans, std::size_t span_count,
                                                                  std::uint32_t* result) {
    const mt::lint::ZoneTable zone{std::string_view(zone_name, zone_name_size), spans, span_count};
    const std::string json =
        new_message_json(std::string_view(document, document_size), {.zone = zone.author_zone(), .now = now});
    return mt::web::hand_over(json, result);
}
}
