#include "common/digits.h"
#include "common/json_string.h"
#include "report_parts.h"

namespace mt::lint {
namespace {

// ,"fix":{"title":…,"safe":…,"edits":[{"begin":…,"end":…,"replacement":…}]} when there is one.
std::string json_fix(const Problem& p) {
    if (!p.fix) return "";
    std::string out = ",\"fix\":{\"title\":";
    append_json_string(out, p.fix->title);
    out += ",\"safe\":" + std::string(p.fix->safe ? "true" : "false") + ",\"edits\":[";
    for (std::size_t i = 0; i < p.fix->edits.size(); ++i) {
        const Edit& edit = p.fix->edits[i];
        out += (i > 0 ? ",{\"begin\":" : "{\"begin\":") + decimal(edit.begin) + ",\"end\":" + decimal(edit.end) +
               ",\"replacement\":";
        append_json_string(out, edit.replacement);
        out += "}";
    }
    return out + "]}";
}

}  // namespace

std::string json_report(std::span<const FileProblems> files, bool array) {
    std::string out = array ? "[" : "";
    const std::string_view after = array ? "}," : "}\n";
    for (const FileProblems& file : files) {
        if (file.read_error) {
            out += "{\"file\":";
            append_json_string(out, file.path);
            out += ",\"rule\":\"read\",\"severity\":\"error\",\"text\":";
            append_json_string(out, read_problem_text(file.path, *file.read_error));
            out += ",\"notes\":[]";
            out += after;
        }
        const LineIndex lines = report_lines(file);
        for (const Problem& p : file.problems) {
            const Place at = place_of(file.bytes, lines, p);
            out += "{\"file\":";
            // The path is a JSON string of its own: exact, and valid UTF-8 since every argument is.
            append_json_string(out, file.path);
            out += ",\"line\":" + decimal(at.line) + ",\"column\":" + decimal(at.column) +
                   ",\"byte_offset\":" + decimal(p.offset) + ",\"start_byte_offset\":" + decimal(p.span.begin) +
                   ",\"end_byte_offset\":" + decimal(p.span.end) + ",\"end_line\":" + decimal(at.end_line) +
                   ",\"end_column\":" + decimal(at.end_column) + ",\"rule\":";
            append_json_string(out, code_name(p.code));
            out += ",\"severity\":\"" + std::string(severity_name(p)) + "\"";
            if (p.message) out += ",\"message_index\":" + decimal(*p.message);
            if (p.id) {
                out += ",\"id\":";
                append_json_string(out, *p.id);  // the reader decodes only valid UTF-8
            }
            if (p.after_first_error) out += ",\"after_first_error\":true";
            out += ",\"text\":";
            append_json_string(out, p.text);
            out += ",\"notes\":[";
            for (std::size_t i = 0; i < p.notes.size(); ++i) {
                if (i > 0) out += ',';
                append_json_string(out, p.notes[i]);
            }
            out += "]" + json_fix(p);
            out += after;
        }
    }
    if (array && out.back() == ',')
        out.back() = ']';  // in place of the comma after the last object
    else if (array)
        out += ']';
    return out;
}

}  // namespace mt::lint
