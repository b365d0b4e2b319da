#include "page_view.h"

#include <array>

#include "common/digits.h"
#include "common/json_string.h"
#include "common/utf8.h"
#include "lint/code_pages.h"
#include "lint/inlay_hints.h"
#include "lint/outline.h"
#include "lint/plural.h"

namespace mt::web {

void append_field(std::string& out, std::string_view key, std::string_view value) {
    out += ",\"";
    out += key;
    out += "\":";
    append_json_string(out, value);
}

std::string place_json(std::string_view bytes, const lint::LineIndex& lines, std::size_t offset) {
    const lint::TextPosition at = lines.position(bytes, offset, lint::Unit::utf16);
    return "[" + decimal(at.line) + "," + decimal(at.character) + "]";
}

namespace {

// Where the mark of a problem that marks nothing ends: after the character it stands on, unless
// that is a line's end (or the end of the text), where it marks nothing.
std::size_t mark_end(std::string_view bytes, Span span) {
    if (span.end > span.begin) return span.end;
    const std::size_t at = span.begin;
    if (at >= bytes.size() || bytes[at] == '\n' || bytes[at] == '\r') return at;
    return at + first_character(bytes.substr(at)).length;
}

std::string verdict_json(std::string_view bytes, std::span<const lint::Problem> problems) {
    std::string kind, text;
    if (bytes.empty()) {
        kind = "empty";
        text = "Вставьте, наберите или откройте черновик ленты.";
    } else {
        std::size_t errors = 0;
        for (const lint::Problem& p : problems) errors += p.severity == lint::Severity::error;
        const std::size_t warnings = problems.size() - errors;
        const std::string tail =
            warnings > 0 ? "; " + lint::count_of(warnings, "предупреждение", "предупреждения", "предупреждений") : "";
        kind = errors == 0 ? "ok" : "bad";
        text = errors == 0 ? "Проблем нет: лента будет принята, когда её подпишут" + tail + "."
                           : lint::count_of(errors, "проблема", "проблемы", "проблем") + ": лента не будет принята" +
                                 tail + ".";
    }
    std::string out = "{\"kind\":\"" + kind + "\",\"text\":";
    append_json_string(out, text);
    return out + "}";
}

std::string fix_json(std::string_view bytes, const lint::LineIndex& lines, const lint::Fix& fix) {
    std::string out = "{\"label\":";
    append_json_string(out, fix.safe ? fix.title : "предложение: " + fix.title);
    out += fix.safe ? ",\"safe\":true,\"changes\":[" : ",\"safe\":false,\"changes\":[";
    for (std::size_t i = 0; i < fix.edits.size(); ++i) {
        const lint::Edit& edit = fix.edits[i];
        out += i > 0 ? ",{\"from\":" : "{\"from\":";
        out += place_json(bytes, lines, edit.begin) + ",\"to\":" + place_json(bytes, lines, edit.end) + ",\"insert\":";
        append_json_string(out, edit.replacement);
        out += '}';
    }
    return out + "]}";
}

}  // namespace

std::string page_view_json(std::string_view bytes, std::span<const lint::Problem> problems) {
    std::string out = "{\"verdict\":" + verdict_json(bytes, problems) + ",\"problems\":[";
    if (bytes.empty()) return out + "]}";
    const lint::LineIndex lines(bytes, lint::LineEnds::any);
    for (std::size_t i = 0; i < problems.size(); ++i) {
        const lint::Problem& p = problems[i];
        const std::string later = p.after_first_error ? std::string(lint::AFTER_FIRST_ERROR) + ": " : "";
        std::string message = later + p.text;
        for (const std::string& note : p.notes) message += "\nпримечание: " + note;
        out += i > 0 ? ",{\"from\":" : "{\"from\":";
        out += place_json(bytes, lines, p.span.begin) + ",\"to\":" + place_json(bytes, lines, mark_end(bytes, p.span));
        out += ",\"heading\":";
        append_json_string(out, later + (p.severity == lint::Severity::warning ? "предупреждение: " : "") + p.text);
        out += ",\"message\":";
        append_json_string(out, message);
        out += ",\"fix\":" + (p.fix ? fix_json(bytes, lines, *p.fix) : std::string("null")) + "}";
    }
    return out + "]}";
}

std::string outline_json(const lint::DraftView& draft, const lint::LineIndex& lines,
                         std::span<const lint::Problem> problems) {
    const std::string_view bytes = draft.document();
    std::string out = "[";
    for (const lint::OutlineEntry& top : lint::outline(draft)) {
        if (top.kind != lint::OutlineKind::messages) continue;
        for (const lint::OutlineEntry& m : top.children) {
            if (m.kind != lint::OutlineKind::message || !m.message) continue;
            out += out.size() > 1 ? ",{\"index\":" : "{\"index\":";
            out += decimal(*m.message) + ",\"name\":";
            append_json_string(out, m.name);
            out += ",\"title\":";
            append_json_string(out, m.detail);
            out += ",\"from\":" + place_json(bytes, lines, m.span.begin) + ",\"to\":" + place_json(bytes, lines, m.span.end);
            out += ",\"name_from\":" + place_json(bytes, lines, m.name_span.begin) +
                   ",\"name_to\":" + place_json(bytes, lines, m.name_span.end) + ",\"problems\":[";
            bool first = true;
            for (std::size_t i = 0; i < problems.size(); ++i) {
                if (problems[i].message != m.message) continue;
                out += (first ? "" : ",") + decimal(i);
                first = false;
            }
            out += "]}";
        }
    }
    return out + "]";
}

std::string hints_json(const lint::DraftView& draft, const lint::LineIndex& lines, const lint::AuthorZone& zone) {
    const std::string_view bytes = draft.document();
    std::string out = "[";
    for (const lint::InlayHint& hint : lint::inlay_hints(draft, zone)) {
        out += out.size() > 1 ? ",{\"at\":" : "{\"at\":";
        out += place_json(bytes, lines, hint.offset) + ",\"label\":";
        append_json_string(out, hint.label);
        out += hint.kind == lint::HintKind::time ? ",\"kind\":\"time\"" : ",\"kind\":\"length\"";
        out += hint.over ? ",\"over\":true}" : ",\"over\":false}";
    }
    return out + "]";
}

std::string fixes_made_text(std::size_t count) {
    return "Сделано " + lint::count_of(count, "исправление", "исправления", "исправлений") +
           "; отменить их — Ctrl+Z (⌘Z на Mac).";
}

std::string opened_file_json(std::string_view bytes, std::span<unsigned char> marks) {
    bool utf8 = true;
    for (std::size_t at = 0; at < bytes.size();) {
        const Character c = first_character(bytes.substr(at));
        for (std::size_t i = 0; i < c.length; ++i) marks[at + i] = 0;
        if (!c.valid) {
            marks[at] = 1;
            utf8 = false;
        }
        at += c.length;
    }
    // The line ends in the order they are named and preferred on a tie: LF, CRLF, CR.
    struct LineEnd {
        std::string_view bytes, name;
        std::size_t count = 0;
    };
    std::array<LineEnd, 3> ends = {{{"\n", "LF"}, {"\r\n", "CRLF"}, {"\r", "CR"}}};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++ends[1].count;
            ++i;
        } else if (bytes[i] == '\r') {
            ++ends[2].count;
        } else if (bytes[i] == '\n') {
            ++ends[0].count;
        }
    }
    const LineEnd* kept = &ends[0];
    std::size_t kinds = 0;
    std::string parts;
    for (const LineEnd& end : ends) {
        if (end.count > kept->count) kept = &end;
        if (end.count == 0) continue;
        ++kinds;
        parts += (parts.empty() ? "" : ", ") + std::string(end.name) + " — " +
                 lint::count_of(end.count, "строка", "строки", "строк");
    }
    const std::string line_end_note = kinds > 1
                                          ? "Концы строк в файле разные (" + parts + "): после правки все будут " +
                                                std::string(kept->name) + ", как в большинстве строк."
                                          : "";
    const auto recoded = utf8 ? std::nullopt : lint::certain_recoding(bytes);
    const std::string label =
        recoded ? "Перекодировать из " + std::string(lint::code_page_name(recoded->page)) + " в UTF-8" : "";
    std::string out = "{\"size\":";
    append_json_string(out, lint::count_of(bytes.size(), "байт", "байта", "байт"));
    out += utf8 ? ",\"utf8\":true,\"line_end\":" : ",\"utf8\":false,\"line_end\":";
    append_json_string(out, kept->bytes);
    out += ",\"line_end_note\":";
    append_json_string(out, line_end_note);
    out += ",\"not_utf8_note\":";
    append_json_string(out,
                       "Сохранить нельзя: файл не в UTF-8 (байты, которые не читаются как UTF-8, показаны как "
                       "\\x{..}), а сама страница не меняет в нём ни байта. " +
                           (recoded ? "Его можно перекодировать кнопкой «" + label + "» у проблемы."
                                    : std::string("Сохраните его в UTF-8 в своём редакторе и откройте снова.")));
    out += ",\"recoded\":";
    if (!recoded) return out + "null}";
    out += "{\"from\":";
    append_json_string(out, lint::code_page_name(recoded->page));
    out += ",\"text\":";
    append_json_string(out, recoded->text);
    out += ",\"label\":";
    append_json_string(out, label);
    return out + "}}";
}

}  // namespace mt::web
