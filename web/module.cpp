// The C interface of the WebAssembly draft checker: the page and its tests hand it a
// document's bytes, a file name and the time to compare with, and get back one JSON object:
//
//   {"problems":[...], "messages":[...], "limits":{...}}
//
// `problems` holds exactly the objects `messages-lint --format=json` prints for the same bytes
// and name, in its order; `messages` the summary of each message read; `limits` the numbers the
// page shows the lengths against. The page computes none of this itself.
//
// Memory: the caller copies its inputs into blocks from mt_alloc (null when memory runs out),
// and frees them and the result with mt_free. Nothing is kept between calls.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/digits.h"
#include "common/json_string.h"
#include "common/utf8.h"
#include "lint/problems.h"
#include "lint/report.h"
#include "lint/summary.h"
#include "messages/messages.h"
#include "messages/records.h"

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

void append_field(std::string& out, std::string_view key, std::string_view value) {
    out += ",\"";
    out += key;
    out += "\":";
    append_json_string(out, value);
}

std::string check(std::string_view document, std::uint64_t length, std::string_view name, std::int64_t now) {
    // Beyond the limit the command line reads one byte more and stops; so does this.
    const bool oversize = document.size() > MAX_FEED_BYTES;
    if (oversize) document = document.substr(0, MAX_FEED_BYTES + 1);
    lint::Check checked = lint::check_file(document, length, name, {.now = now});
    const std::vector<lint::Problem>& problems = checked.problems;

    // The JSON Lines report, made an array: one object per line.
    const lint::FileProblems file{std::string(name), std::string(document), problems, std::nullopt};
    const std::string lines = lint::report(lint::Format::json, std::span(&file, 1), {});
    std::string out = "{\"problems\":[";
    for (std::size_t start = 0, first = 1; start < lines.size(); first = 0) {
        const std::size_t end = lines.find('\n', start);
        if (!first) out += ',';
        out.append(lines, start, end - start);
        start = end + 1;
    }
    out += "],\"messages\":[";
    if (!oversize) {
        const std::vector<lint::MessageSummary>& summaries = checked.messages;
        for (std::size_t i = 0; i < summaries.size(); ++i) {
            const lint::MessageSummary& s = summaries[i];
            out += i > 0 ? ",{\"index\":" : "{\"index\":";
            out += decimal(i);
            append_field(out, "id", s.id);
            out += ",\"priority\":" + decimal(s.priority);
            append_field(out, "title", s.title);
            out += ",\"title_chars\":" + decimal(s.title_chars);
            append_field(out, "body", s.body);
            out += ",\"body_chars\":" + decimal(s.body_chars);
            append_optional(out, "cta", s.cta);
            append_field(out, "start_at_text", s.start_at_text);
            append_field(out, "end_at_text", s.end_at_text);
            append_field(out, "start_at", s.start_at);
            append_field(out, "end_at", s.end_at);
            append_optional(out, "minVersion", s.min_version);
            append_optional(out, "maxVersion", s.max_version);
            out += '}';
        }
    }
    out += "],\"limits\":{\"title_chars\":" + decimal(MAX_TITLE_CHARS) + ",\"body_chars\":" + decimal(MAX_BODY_CHARS) +
           ",\"messages\":" + decimal(MAX_MESSAGES) + ",\"bytes\":" + decimal(MAX_FEED_BYTES) + "}}";
    return out;
}

}  // namespace

extern "C" {

__attribute__((export_name("mt_alloc"))) void* mt_alloc(std::size_t size) { return std::malloc(size > 0 ? size : 1); }

__attribute__((export_name("mt_free"))) void mt_free(void* block) { std::free(block); }

// Checks `document_size` bytes at `document`, the start of a file of `file_length` bytes (at
// least one byte past the limit is enough to find it too large, as on the command line), under
// the name at `name` (UTF-8; anything else is shown with U+FFFD, as a path never is on the
// command line) with `now` as the present time in Unix seconds. Stores the result's address and
// length in result[0] and result[1]; the result is a block for mt_free. Returns 0, or 1 when the
// result could not be allocated.
__attribute__((export_name("mt_check"))) int mt_check(const char* document, std::size_t document_size,
                                                      std::uint64_t file_length, const char* name,
                                                      std::size_t name_size, std::int64_t now, std::uint32_t* result) {
    const std::string json = check(std::string_view(document, document_size), file_length,
                                   decode_utf8_lossy(std::string_view(name, name_size)), now);
    void* block = std::malloc(json.size() > 0 ? json.size() : 1);
    if (block == nullptr) return 1;
    json.copy(static_cast<char*>(block), json.size());
    result[0] = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(block));
    result[1] = static_cast<std::uint32_t>(json.size());
    return 0;
}
}
