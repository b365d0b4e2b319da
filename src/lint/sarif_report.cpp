#include "common/digits.h"
#include "common/json_string.h"
#include "lint/rules.h"
#include "report_parts.h"

namespace mt::lint {
namespace {

// A path as a URI reference: every byte but the unreserved characters and `/` percent-encoded.
std::string uri_of(std::string_view path) {
    std::string out;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || c == '-' ||
            c == '.' || c == '_' || c == '~' || c == '/') {
            out += c;
        } else {
            out += '%';
            append_hex(out, byte, 2, HexLetters::upper);
        }
    }
    return out;
}

std::string sarif_message(std::string_view text) {
    std::string out = "{\"text\":";
    append_json_string(out, text);
    return out + "}";
}

std::string sarif_artifact(std::string_view path) {
    std::string out = "{\"uri\":";
    append_json_string(out, uri_of(path));
    return out + "}";
}

// ,"fixes":[…] when the problem has a fix: one artifact change of byte-offset replacements; an
// unsafe fix says so in its description and its properties.
std::string sarif_fixes(const Problem& p, std::string_view path) {
    if (!p.fix) return "";
    std::string out =
        ",\"fixes\":[{\"description\":" + sarif_message(p.fix->safe ? p.fix->title : "предложение: " + p.fix->title) +
        ",\"artifactChanges\":[{\"artifactLocation\":" + sarif_artifact(path) + ",\"replacements\":[";
    for (std::size_t i = 0; i < p.fix->edits.size(); ++i) {
        const Edit& edit = p.fix->edits[i];
        if (i > 0) out += ',';
        out += "{\"deletedRegion\":{\"byteOffset\":" + decimal(edit.begin) +
               ",\"byteLength\":" + decimal(edit.end - edit.begin) + "}";
        if (!edit.replacement.empty()) out += ",\"insertedContent\":" + sarif_message(edit.replacement);
        out += "}";
    }
    return out + "]}],\"properties\":{\"safe\":" + (p.fix->safe ? "true" : "false") + "}}]";
}

}  // namespace

std::string sarif_report(std::span<const FileProblems> files, const ReportOptions& options) {
    const std::span<const Code> rules = all_codes();
    std::string out =
        "{\"$schema\":\"https://json.schemastore.org/sarif-2.1.0.json\",\"version\":\"2.1.0\",\"runs\":[{"
        "\"tool\":{\"driver\":{\"name\":\"messages-lint\"";
    if (!options.tool_version.empty()) {
        out += ",\"version\":";
        append_json_string(out, options.tool_version);
    }
    out += ",\"rules\":[";
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (i > 0) out += ',';
        out += "{\"id\":";
        append_json_string(out, code_name(rules[i]));
        out += ",\"shortDescription\":" + sarif_message(code_description(rules[i])) + "}";
    }
    out += "]}},\"invocations\":[{";
    std::string notifications;
    for (const FileProblems& file : files) {
        if (!file.read_error) continue;
        if (!notifications.empty()) notifications += ',';
        notifications +=
            "{\"level\":\"error\",\"message\":" + sarif_message(read_problem_text(file.path, *file.read_error)) +
            ",\"locations\":[{\"physicalLocation\":{\"artifactLocation\":" + sarif_artifact(file.path) + "}}]}";
    }
    out += "\"executionSuccessful\":" + std::string(notifications.empty() ? "true" : "false");
    if (!notifications.empty()) out += ",\"toolExecutionNotifications\":[" + notifications + "]";
    out += "}],\"columnKind\":\"unicodeCodePoints\",\"results\":[";
    bool first = true;
    for (const FileProblems& file : files) {
        const LineIndex lines = report_lines(file);
        for (const Problem& p : file.problems) {
            const Place at = place_of(file.bytes, lines, p);
            if (!first) out += ',';
            first = false;
            out += "{\"ruleId\":";
            append_json_string(out, code_name(p.code));
            out += ",\"ruleIndex\":" + decimal(static_cast<std::size_t>(p.code));
            out += ",\"level\":\"" + std::string(severity_name(p)) + "\",\"message\":" + sarif_message(with_notes(p)) +
                   ",\"locations\":[{\"physicalLocation\":{\"artifactLocation\":" + sarif_artifact(file.path) +
                   ",\"region\":{\"startLine\":" + decimal(at.line) + ",\"startColumn\":" + decimal(at.column) +
                   ",\"endLine\":" + decimal(at.end_line) + ",\"endColumn\":" + decimal(at.end_column) + "}}}]";
            out += sarif_fixes(p, file.path);
            if (p.message || p.id || p.after_first_error) {
                std::string properties;
                if (p.message) properties += ",\"messageIndex\":" + decimal(*p.message);
                if (p.id) {
                    properties += ",\"id\":";
                    append_json_string(properties, *p.id);
                }
                if (p.after_first_error) properties += ",\"afterFirstError\":true";
                out += ",\"properties\":{" + properties.substr(1) + "}";
            }
            out += "}";
        }
    }
    return out + "]}]}\n";
}

}  // namespace mt::lint
