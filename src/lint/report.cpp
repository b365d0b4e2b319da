#include "lint/report.h"

#include <algorithm>

#include "common/cells.h"
#include "common/digits.h"
#include "common/escape.h"
#include "common/json_string.h"
#include "common/utf8.h"
#include "lint/rules.h"

namespace mt::lint {
namespace {

// The source line is shown as a window of this many cells on either side of the caret, so a
// feed written on one line does not print 64 KiB per problem.
constexpr std::size_t WINDOW_CELLS = 50;
// Enough bytes before the caret for the window: wide characters take three bytes for two cells,
// and a line start further back than this is not looked for.
constexpr std::size_t LINE_SEARCH_BYTES = 4 * WINDOW_CELLS + 8;

constexpr std::string_view BOLD = "\x1b[1m", ERROR_COLOR = "\x1b[1;31m", WARNING_COLOR = "\x1b[1;33m",
                           NOTE_COLOR = "\x1b[1;36m", RESET = "\x1b[0m";

bool is_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Whether the line ends at `pos`: a line feed, a carriage return before a line feed or at the
// end, or the end of the bytes. A carriage return anywhere else is shown, escaped.
bool at_line_end(std::string_view bytes, std::size_t pos) {
    if (pos >= bytes.size() || bytes[pos] == '\n') return true;
    return bytes[pos] == '\r' && (pos + 1 == bytes.size() || bytes[pos + 1] == '\n');
}

// One piece of a source line as the excerpt shows it: a character cluster as the file holds it,
// a tab, or the escape of a character that would break the line or drive the terminal, or of a
// byte that is not UTF-8.
struct Piece {
    std::string_view raw;  // the bytes it stands for
    std::string shown;
    std::size_t cells;
    bool tab;
};

Piece piece_at(std::string_view bytes, std::size_t pos) {
    const std::string_view rest = bytes.substr(pos);
    const Character c = first_character(rest);
    const std::string_view raw = rest.substr(0, c.length);
    if (!c.valid) {
        std::string shown = "\\x{";
        append_hex(shown, static_cast<unsigned char>(rest[0]), 2, HexLetters::lower);
        return {raw, shown + "}", 6, false};
    }
    if (c.value == U'\t') return {raw, "\t", 1, true};
    if (std::string escaped = escape_controls(raw); escaped != raw) {
        const std::size_t cells = escaped.size();  // an escape is ASCII
        return {raw, std::move(escaped), cells, false};
    }
    const Cluster cluster = first_cluster(rest);
    return {rest.substr(0, cluster.length), std::string(rest.substr(0, cluster.length)), cluster.cells, false};
}

// The window of the source line around `offset` and the line under it with the caret, which
// stands under the first cell of the piece that holds the byte at `offset` and goes on under
// every piece that begins before `end`, up to the line's end or the window's (one cell at the
// least).
struct Excerpt {
    std::string line;
    std::string caret;
};

Excerpt excerpt(std::string_view bytes, std::size_t offset, std::size_t end) {
    offset = std::min(offset, bytes.size());
    // Where the line starts, if that is near enough to matter.
    const std::size_t floor = offset > LINE_SEARCH_BYTES ? offset - LINE_SEARCH_BYTES : 0;
    std::size_t line_start = floor;
    bool start_known = floor == 0;
    for (std::size_t i = offset; i > floor; --i)
        if (bytes[i - 1] == '\n') {
            line_start = i;
            start_known = true;
            break;
        }
    if (!start_known)
        for (int skip = 0; skip < 3 && line_start < offset && is_continuation(bytes[line_start]); ++skip) ++line_start;

    // The piece under the caret, and the cells of the pieces before it on the line.
    std::size_t caret_pos = line_start, before = 0;
    while (caret_pos < offset) {
        const Piece piece = piece_at(bytes, caret_pos);
        if (caret_pos + piece.raw.size() > offset) break;
        caret_pos += piece.raw.size();
        before += piece.cells;
    }
    // The window starts at the first piece from which at most WINDOW_CELLS cells lead to the caret.
    std::size_t from = line_start;
    while (before > WINDOW_CELLS) {
        const Piece piece = piece_at(bytes, from);
        from += piece.raw.size();
        before -= piece.cells;
    }

    Excerpt out;
    if (from > line_start || !start_known) {
        out.line += "…";
        out.caret += ' ';
    }
    for (std::size_t pos = from; pos < caret_pos;) {
        const Piece piece = piece_at(bytes, pos);
        pos += piece.raw.size();
        out.line += piece.shown;
        if (piece.tab)
            out.caret += '\t';
        else
            out.caret.append(piece.cells, ' ');
    }
    std::size_t pos = caret_pos, after = 0;
    while (!at_line_end(bytes, pos) && after <= WINDOW_CELLS) {
        const Piece piece = piece_at(bytes, pos);
        if (pos < end || pos == caret_pos) out.caret.append(std::max<std::size_t>(piece.cells, 1), '^');
        pos += piece.raw.size();
        out.line += piece.shown;
        after += piece.cells;
    }
    if (pos == caret_pos) out.caret += '^';  // at the end of a line: one caret after its last cell
    if (!at_line_end(bytes, pos)) out.line += "…";
    return out;
}

bool is_warning(const Problem& p) { return p.severity == Severity::warning; }

struct Counts {
    std::size_t errors = 0;
    std::size_t warnings = 0;
};

Counts counts_of(const FileProblems& file) {
    Counts counts;
    if (file.read_error) counts.errors = 1;
    for (const Problem& p : file.problems) ++(is_warning(p) ? counts.warnings : counts.errors);
    return counts;
}

std::string problems_count(std::size_t n) { return count_of(n, "проблема", "проблемы", "проблем"); }
std::string warnings_count(std::size_t n) { return count_of(n, "предупреждение", "предупреждения", "предупреждений"); }

std::string human(std::span<const FileProblems> files, const ReportOptions& options) {
    const auto paint = [&](std::string_view code, std::string_view text) {
        return options.color ? std::string(code) + std::string(text) + std::string(RESET) : std::string(text);
    };
    std::string out;
    Counts total;
    for (const FileProblems& file : files) {
        const Counts counts = counts_of(file);
        total.errors += counts.errors;
        total.warnings += counts.warnings;
        if (file.read_error) continue;  // its line is on standard error
        const std::string shown_path = escape_controls(file.path);
        for (const Problem& p : file.problems) {
            const std::string_view color = is_warning(p) ? WARNING_COLOR : ERROR_COLOR;
            out += paint(BOLD, shown_path + ":" + decimal(p.at.line) + ":" + decimal(p.at.column) + ":") + " ";
            if (is_warning(p)) out += paint(WARNING_COLOR, "предупреждение:") + " ";
            out += paint(BOLD, p.text) + "\n";
            const Excerpt shown = excerpt(file.bytes, p.at.shown_offset(), p.at.end);
            const std::string number = decimal(p.at.line);
            const std::string gutter(number.size(), ' ');
            out += " " + number + " | " + shown.line + "\n";
            out += " " + gutter + " | " + paint(color, shown.caret) + "\n";
            for (const std::string& note : p.notes)
                out += " " + gutter + " = " + paint(NOTE_COLOR, "примечание:") + " " + note + "\n";
        }
        // Among several files only those with something to say are named; the totals follow.
        if (files.size() > 1 && file.problems.empty()) continue;
        std::string summary = counts.errors == 0 ? "проблем нет" : problems_count(counts.errors);
        if (counts.warnings > 0) summary += ", " + warnings_count(counts.warnings);
        out += paint(BOLD, shown_path + ": " + summary) + "\n";
    }
    if (files.size() > 1) {
        std::string summary =
            "итого: " + count_of(files.size(), "файл", "файла", "файлов") + ", " + problems_count(total.errors);
        if (options.warnings) summary += ", " + warnings_count(total.warnings);
        out += paint(BOLD, summary) + "\n";
    }
    return out;
}

std::string_view severity_name(const Problem& p) { return is_warning(p) ? "warning" : "error"; }

std::string json(std::span<const FileProblems> files) {
    std::string out;
    for (const FileProblems& file : files) {
        if (file.read_error) {
            out += "{\"file\":";
            append_json_string(out, file.path);
            out += ",\"rule\":\"read\",\"severity\":\"error\",\"text\":";
            append_json_string(out, read_problem_text(file.path, *file.read_error));
            out += ",\"notes\":[]}\n";
        }
        for (const Problem& p : file.problems) {
            out += "{\"file\":";
            // The path is a JSON string of its own: exact, and valid UTF-8 since every argument is.
            append_json_string(out, file.path);
            out += ",\"line\":" + decimal(p.at.line) + ",\"column\":" + decimal(p.at.column) +
                   ",\"byte_offset\":" + decimal(p.at.offset) +
                   ",\"start_byte_offset\":" + decimal(p.at.shown_offset()) +
                   ",\"end_byte_offset\":" + decimal(p.at.end) + ",\"end_line\":" + decimal(p.at.end_line) +
                   ",\"end_column\":" + decimal(p.at.end_column) + ",\"rule\":";
            append_json_string(out, code_name(p.code));
            out += ",\"severity\":\"" + std::string(severity_name(p)) + "\"";
            if (p.message) out += ",\"message_index\":" + decimal(*p.message);
            if (p.id) {
                out += ",\"id\":";
                append_json_string(out, *p.id);  // the reader decodes only valid UTF-8
            }
            out += ",\"text\":";
            append_json_string(out, p.text);
            out += ",\"notes\":[";
            for (std::size_t i = 0; i < p.notes.size(); ++i) {
                if (i > 0) out += ',';
                append_json_string(out, p.notes[i]);
            }
            out += "]}\n";
        }
    }
    return out;
}

// Workflow command escaping: in the message `%`, CR and LF; in a property also `:` and `,`.
std::string github_escape(std::string_view text, bool property) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '%':
                out += "%25";
                break;
            case '\r':
                out += "%0D";
                break;
            case '\n':
                out += "%0A";
                break;
            case ':':
                out += property ? "%3A" : ":";
                break;
            case ',':
                out += property ? "%2C" : ",";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// The text with the notes after it on lines of their own, as annotations and results show it.
std::string with_notes(const Problem& p) {
    std::string message = p.text;
    for (const std::string& note : p.notes) message += "\nпримечание: " + note;
    return message;
}

// The end of a problem's span as a workflow command names it, when the span is more than one
// character: the line of its last character and, when that is the line it starts on, its column
// (both inclusive).
std::string github_end(const Location& at) {
    const bool one_line = at.end_line == at.line;
    if (at.end <= at.shown_offset() || (one_line && at.end_column <= at.column + 1)) return {};
    const std::size_t last_line = at.end_column == 1 && at.end_line > at.line ? at.end_line - 1 : at.end_line;
    std::string out = ",endLine=" + decimal(one_line ? at.line : last_line);
    if (one_line) out += ",endColumn=" + decimal(at.end_column - 1);
    return out;
}

std::string github(std::span<const FileProblems> files) {
    std::string out;
    for (const FileProblems& file : files) {
        const std::string path = github_escape(escape_controls(file.path), true);
        if (file.read_error)
            out += "::error file=" + path +
                   "::" + github_escape(read_problem_text(file.path, *file.read_error), false) + "\n";
        for (const Problem& p : file.problems)
            out += "::" + std::string(severity_name(p)) + " file=" + path + ",line=" + decimal(p.at.line) +
                   ",col=" + decimal(p.at.column) + github_end(p.at) + "::" + github_escape(with_notes(p), false) +
                   "\n";
    }
    return out;
}

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

std::string sarif(std::span<const FileProblems> files, const ReportOptions& options) {
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
        for (const Problem& p : file.problems) {
            if (!first) out += ',';
            first = false;
            out += "{\"ruleId\":";
            append_json_string(out, code_name(p.code));
            out += ",\"ruleIndex\":" + decimal(static_cast<std::size_t>(p.code));
            out += ",\"level\":\"" + std::string(severity_name(p)) + "\",\"message\":" + sarif_message(with_notes(p)) +
                   ",\"locations\":[{\"physicalLocation\":{\"artifactLocation\":" + sarif_artifact(file.path) +
                   ",\"region\":{\"startLine\":" + decimal(p.at.line) + ",\"startColumn\":" + decimal(p.at.column) +
                   ",\"endLine\":" + decimal(p.at.end_line) + ",\"endColumn\":" + decimal(p.at.end_column) + "}}}]";
            if (p.message || p.id) {
                out += ",\"properties\":{";
                if (p.message) out += "\"messageIndex\":" + decimal(*p.message);
                if (p.id) {
                    out += p.message ? ",\"id\":" : "\"id\":";
                    append_json_string(out, *p.id);
                }
                out += "}";
            }
            out += "}";
        }
    }
    return out + "]}]}\n";
}

}  // namespace

std::string read_problem_text(std::string_view path, std::string_view error) {
    return escape_controls("не читаю " + std::string(path) + ": " + std::string(error));
}

std::string report(Format format, std::span<const FileProblems> files, const ReportOptions& options) {
    switch (format) {
        case Format::human:
            return human(files, options);
        case Format::json:
            return json(files);
        case Format::github:
            return github(files);
        case Format::sarif:
            return sarif(files, options);
    }
    return {};
}

}  // namespace mt::lint
