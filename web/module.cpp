// The C interface of the WebAssembly draft checker: the page and its tests hand it a
// document's bytes, a file name and the time to compare with, and get back one JSON object:
//
//   {"problems":[...], "page":{...}, "messages":[...], "outline":[...], "hints":[...],
//    "shown_name":"...", "limits":{...}}
//
// `problems` holds exactly the objects `messages-lint --format=json` prints for the same bytes
// and name, in its order; `page` how the page shows them (page_view.h); `messages` the summary
// of each message read; `outline` the messages as the editor moves to them, with their
// problems, and `hints` what it writes beside the values (page_view.h), both also of a draft
// that does not read; `shown_name` the name
// with every invisible or bidirectional control escaped, as problem texts show them; `limits`
// the numbers the page shows the lengths against. The page computes none of this itself.
// recode.cpp adds the decoding of a draft in a Cyrillic code page, mt_open below what an
// opened file is, and completion_export.cpp what the editor offers to write.
//
// Memory: the caller copies its inputs into blocks from mt_alloc (null when memory runs out),
// and frees them and the result with mt_free. Nothing is kept between calls.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "block.h"
#include "common/digits.h"
#include "common/escape.h"
#include "common/json_string.h"
#include "common/utf8.h"
#include "lint/fix_document.h"
#include "lint/message_summary.h"
#include "lint/problems.h"
#include "lint/report.h"
#include "lint/zone_table.h"
#include "messages/messages.h"
#include "messages/records.h"
#include "page_view.h"

namespace {

using namespace mt;

void append_optional(std::string& out, std::string_view key, const std::optional<std::string>& value) {
    out += ",\"";
    out += key;
    out += "\":";
    if (value)
        append_json_string(out, *value);
    else
        out += "null";
}

std::string check(std::string_view head, std::uint64_t length, std::string_view name, std::int64_t now,
                  const lint::AuthorZone& zone) {
    const lint::Check checked = lint::check_file(head, length, name, {.now = now, .warnings = true, .zone = zone});
    const lint::FileProblems file{std::string(name), std::string(head), checked.problems, std::nullopt};
    std::string out = "{\"problems\":" + lint::report(lint::Format::json_array, std::span(&file, 1), {});
    out += ",\"page\":" + web::page_view_json(head, checked.problems);
    out += ",\"messages\":[";
    for (std::size_t i = 0; i < checked.messages.size(); ++i) {
        const lint::MessageSummary& s = checked.messages[i];
        out += i > 0 ? ",{\"index\":" : "{\"index\":";
        out += decimal(s.index);
        web::append_field(out, "id", s.id);
        out += ",\"priority\":" + decimal(s.priority);
        web::append_field(out, "title", s.title);
        out += ",\"title_chars\":" + decimal(s.title_chars);
        web::append_field(out, "body", s.body);
        out += ",\"body_chars\":" + decimal(s.body_chars);
        append_optional(out, "cta", s.cta);
        web::append_field(out, "start_at_text", s.start_at_text);
        web::append_field(out, "end_at_text", s.end_at_text);
        web::append_field(out, "start_at", s.start_at);
        web::append_field(out, "end_at", s.end_at);
        append_optional(out, "minVersion", s.min_version);
        append_optional(out, "maxVersion", s.max_version);
        out += '}';
    }
    // One reading of the draft for both, and one index of its editor lines.
    const lint::DraftView draft(head);
    const lint::LineIndex lines(head, lint::LineEnds::any);
    out += "],\"outline\":" + web::outline_json(draft, lines, checked.problems);
    out += ",\"hints\":" + web::hints_json(draft, lines, zone);
    out += ",\"shown_name\":";
    append_json_string(out, escape_unprintable(name));
    out += ",\"limits\":{\"title_chars\":" + decimal(MAX_TITLE_CHARS) + ",\"body_chars\":" + decimal(MAX_BODY_CHARS) +
           ",\"messages\":" + decimal(MAX_MESSAGES) + ",\"bytes\":" + decimal(MAX_FEED_BYTES) + ",\"draft_bytes\":" + decimal(lint::MAX_DRAFT_BYTES) + "}}";
    return out;
}

}  // namespace

extern "C" {

__attribute__((export_name("mt_alloc"))) void* mt_alloc(std::size_t size) { return std::malloc(size > 0 ? size : 1); }

__attribute__((export_name("mt_free"))) void mt_free(void* block) { std::free(block); }

// Checks `document_size` bytes at `document`, the start of a file of `file_length` bytes (the
// caller gives no more than one byte past the limit, as the command line reads), under
// the name at `name` (UTF-8; anything else is shown with U+FFFD, as a path never is on the
// command line) with `now` as the present time in Unix seconds, a date without a zone read in
// the author's zone (its name at `zone_name`, its `span_count` spans at `spans`: lint/zone_table.h).
// Stores the result with hand_over (block.h): returns 0, or 1 when the result could not be
// allocated.
__attribute__((export_name("mt_check"))) int mt_check(const char* document, std::size_t document_size,
                                                      std::uint64_t file_length, const char* name,
                                                      std::size_t name_size, std::int64_t now, const char* zone_name,
                                                      std::size_t zone_name_size, const std::int64_t* spans,
                                                      std::size_t span_count, std::uint32_t* result) {
    const mt::lint::ZoneTable zone{std::string_view(zone_name, zone_name_size), spans, span_count};
    const std::string json = check(std::string_view(document, document_size), file_length,
                                   decode_utf8_lossy(std::string_view(name, name_size)), now, zone.author_zone());
    return mt::web::hand_over(json, result);
}

// What the opened file of `document_size` bytes at `document` is (opened_file_json, page_view.h):
// marks[i] becomes 1 where byte i begins no character, 0 elsewhere (the caller's block of
// `document_size` bytes). Stores the JSON with hand_over: returns 0, or 1 when it could not be
// allocated.
__attribute__((export_name("mt_open"))) int mt_open(const char* document, std::size_t document_size,
                                                    unsigned char* marks, std::uint32_t* result) {
    const std::string json =
        mt::web::opened_file_json(std::string_view(document, document_size), std::span(marks, document_size));
    return mt::web::hand_over(json, result);
}
}
