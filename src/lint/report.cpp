#include "lint/report.h"

#include "common/digits.h"
#include "common/escape.h"
#include "common/json_string.h"
#include "common/utf8.h"

namespace mt::lint {
namespace {

// The source line is shown as a window of this many characters on either side of the column,
// so a feed written on one line does not print 64 KiB per problem.
constexpr std::size_t WINDOW_CHARS = 50;
constexpr std::size_t LINE_SEARCH_BYTES = 4 * WINDOW_CHARS + 8;  // enough bytes for the window

constexpr std::string_view BOLD = "\x1b[1m", CARET_COLOR = "\x1b[1;31m", NOTE_COLOR = "\x1b[1;36m", RESET = "\x1b[0m";

// The window of the source line around `offset` and the line under it with the caret.
struct Excerpt {
    std::string line;
    std::string caret;
};

bool is_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

Excerpt excerpt(std::string_view bytes, std::size_t offset) {
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
    std::size_t from = offset;
    for (std::size_t chars = 0; from > line_start && chars < WINDOW_CHARS; ++chars) {
        --from;
        for (int back = 0; back < 3 && from > line_start && is_continuation(bytes[from]); ++back) --from;
    }

    Excerpt out;
    if (from > line_start || !start_known) {
        out.line += "…";
        out.caret += ' ';
    }
    std::size_t after = 0;  // characters shown after the caret
    std::size_t pos = from;
    bool caret_placed = false;
    const auto place_caret = [&] {
        out.caret += '^';
        caret_placed = true;
    };
    while (pos < bytes.size() && bytes[pos] != '\n' && after <= WINDOW_CHARS) {
        if (bytes[pos] == '\r' && (pos + 1 == bytes.size() || bytes[pos + 1] == '\n')) break;
        if (!caret_placed && pos >= offset) place_caret();
        const Character c = first_character(bytes.substr(pos));
        const std::string_view raw = bytes.substr(pos, c.length);
        pos += c.length;
        if (caret_placed) ++after;
        if (raw == "\t") {
            out.line += '\t';
            if (!caret_placed) out.caret += '\t';
            continue;
        }
        const std::string shown = escape_unprintable(raw);
        out.line += shown;
        if (!caret_placed) out.caret.append(count_characters(shown), ' ');
    }
    if (!caret_placed) place_caret();
    if (pos < bytes.size() && bytes[pos] != '\n' &&
        !(bytes[pos] == '\r' && (pos + 1 == bytes.size() || bytes[pos + 1] == '\n')))
        out.line += "…";
    return out;
}

std::string problem_count(std::size_t n) {
    if (n == 0) return "проблем нет";
    return count_of(n, "проблема", "проблемы", "проблем");
}

std::string human(std::string_view path, std::string_view bytes, const std::vector<Problem>& problems, bool color) {
    const auto paint = [&](std::string_view code, std::string_view text) {
        return color ? std::string(code) + std::string(text) + std::string(RESET) : std::string(text);
    };
    const std::string shown_path = escape_controls(path);
    std::string out;
    for (const Problem& p : problems) {
        out += paint(BOLD, shown_path + ":" + decimal(p.at.line) + ":" + decimal(p.at.column) + ":") + " " +
               paint(BOLD, p.text) + "\n";
        const Excerpt shown = excerpt(bytes, p.at.offset);
        const std::string number = decimal(p.at.line);
        const std::string gutter(number.size(), ' ');
        out += " " + number + " | " + shown.line + "\n";
        out += " " + gutter + " | " + paint(CARET_COLOR, shown.caret) + "\n";
        for (const std::string& note : p.notes)
            out += " " + gutter + " = " + paint(NOTE_COLOR, "примечание:") + " " + note + "\n";
    }
    out += paint(BOLD, shown_path + ": " + problem_count(problems.size())) + "\n";
    return out;
}

std::string json(std::string_view path, const std::vector<Problem>& problems) {
    std::string out;
    for (const Problem& p : problems) {
        out += "{\"file\":";
        // The path is a JSON string of its own: exact, and valid UTF-8 since every argument is.
        append_json_string(out, path);
        out += ",\"line\":" + decimal(p.at.line) + ",\"column\":" + decimal(p.at.column) +
               ",\"byte_offset\":" + decimal(p.at.offset) + ",\"rule\":";
        append_json_string(out, p.rule);
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

std::string github(std::string_view path, const std::vector<Problem>& problems) {
    const std::string file = github_escape(escape_controls(path), true);
    std::string out;
    for (const Problem& p : problems) {
        // The notes follow the text on lines of their own in the annotation.
        std::string message = p.text;
        for (const std::string& note : p.notes) message += "\nпримечание: " + note;
        out += "::error file=" + file + ",line=" + decimal(p.at.line) + ",col=" + decimal(p.at.column) +
               "::" + github_escape(message, false) + "\n";
    }
    return out;
}

}  // namespace

std::string report(Format format, std::string_view path, std::string_view bytes, const std::vector<Problem>& problems,
                   bool color) {
    switch (format) {
        case Format::human:
            return human(path, bytes, problems, color);
        case Format::json:
            return json(path, problems);
        case Format::github:
            return github(path, problems);
    }
    return {};
}

}  // namespace mt::lint
