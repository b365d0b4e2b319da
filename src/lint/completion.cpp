#include "lint/completion.h"

#include <algorithm>
#include <array>

#include "common/digits.h"
#include "date_seconds.h"
#include "draft_tree.h"
#include "messages/records.h"
#include "time_text.h"
#include "type_names.h"

namespace mt::lint {
namespace {

constexpr std::int64_t HOUR = 3600;
constexpr std::int64_t DAY = 86400;
// How long a new message is shown.
constexpr std::int64_t NEW_WINDOW_DAYS = 14;
constexpr std::array<std::string_view, 3> CTA_KINDS = {"open_updates", "open_appearance", "open_license"};

using Draft = DraftValues;

// A record's key: its type and limit, what its value is written as, and the snippet that writes
// the key with a value to type in.
struct KeyInfo {
    std::string_view key;
    std::string detail;
    std::string value_snippet;
};

std::vector<KeyInfo> keys_of(Place place) {
    const std::string optional = ", необязательно";
    switch (place) {
        case Place::feed:
            return {{"schema", "целое число, только 1", "1"},
                    {"revision", "целое число не меньше 1", "${1:1}"},
                    {"messages", "массив, не больше " + decimal(MAX_MESSAGES) + " сообщений", "[$0]"}};
        case Place::message:
            return {{"id", "строка, от 1 до " + decimal(MAX_ID_BYTES) + " латинских букв, цифр, _ и -", "\"$1\""},
                    {"priority", "целое число от 0 до " + decimal(MAX_PRIORITY), "${1:1}"},
                    {"title", "строка, не длиннее " + decimal(MAX_TITLE_CHARS) + " символов", "\"$1\""},
                    {"body", "строка, не длиннее " + decimal(MAX_BODY_CHARS) + " символов", "\"$1\""},
                    {"start_at", "целое число, секунды Unix", "$1"},
                    {"end_at", "целое число, секунды Unix, больше start_at", "$1"},
                    {"cta", "объект {\"kind\": …} или null" + optional,
                     "{\"kind\": \"${1|open_updates,open_appearance,open_license|}\"}"},
                    {"minVersion", "версия X.Y.Z или null" + optional, "\"${1:1.0.0}\""},
                    {"maxVersion", "версия X.Y.Z или null" + optional, "\"${1:1.0.0}\""}};
        case Place::cta:
            return {{"kind", "строка: open_updates, open_appearance или open_license",
                     "\"${1|open_updates,open_appearance,open_license|}\""}};
        default:
            return {};
    }
}

std::string kind_meaning(std::string_view kind) {
    if (kind == "open_updates") return "открыть страницу обновлений";
    if (kind == "open_appearance") return "открыть настройки оформления";
    return "открыть страницу лицензии";
}

std::string documentation_of(std::string_view key) {
    if (key == "kind") return "одно из \"open_updates\", \"open_appearance\", \"open_license\"";
    const auto meaning = field_meaning(key);
    return meaning ? std::string(*meaning) : std::string();
}

// How the draft writes its records, so that a new one looks like its neighbours.
struct Layout {
    std::string line_end = "\n";
    bool multi_line = true;
    std::string record_indent;        // before the record's `{` on its own line
    std::string member_indent = "  ";  // before each key, on lines of their own
    std::string colon = ": ";
    std::string comma = ", ";  // between the members of a record on one line, and between such records
};

// The bytes between two neighbours on one line, when they are a comma and at most one space.
std::optional<std::string> comma_between(std::string_view document, std::size_t end, std::size_t begin) {
    if (begin < end) return std::nullopt;
    const std::string_view between = document.substr(end, begin - end);
    if (between == "," || between == ", ") return std::string(between);
    return std::nullopt;
}

std::string_view line_before(std::string_view document, std::size_t offset) {
    const std::size_t start = document.find_last_of("\n\r", offset == 0 ? 0 : offset - 1);
    const std::size_t from = start == std::string_view::npos || offset == 0 ? 0 : start + 1;
    return document.substr(from, offset - from);
}

// The white space before `offset` on its line when nothing else stands there.
std::optional<std::string> indent_before(std::string_view document, std::size_t offset) {
    const std::string_view before = line_before(document, offset);
    if (before.find_first_not_of(" \t") != std::string_view::npos) return std::nullopt;
    return std::string(before);
}

Layout layout_of(const Draft& d) {
    Layout layout;
    if (d.document.find("\r\n") != std::string_view::npos) layout.line_end = "\r\n";
    std::string unit = "  ";
    if (d.tree.root != NO_NODE && d.at(d.tree.root).first != NO_NODE)
        if (const auto indent = indent_before(d.document, d.at(d.at(d.tree.root).first).key.begin);
            indent && !indent->empty())
            unit = *indent;
    const std::uint32_t list = message_list(d.document, d.tree);
    std::uint32_t last = NO_NODE;
    if (list != NO_NODE)
        for (std::uint32_t r = d.at(list).first; r != NO_NODE; r = d.at(r).next)
            if (d.at(r).kind == NodeKind::object && d.at(r).first != NO_NODE) last = r;
    if (last == NO_NODE) {
        const std::string key_indent = list != NO_NODE ? indent_before(d.document, d.at(d.at(list).parent).span.begin)
                                                             .value_or("")
                                                       : "";
        layout.record_indent = key_indent + unit;
        layout.member_indent = layout.record_indent + unit;
        return layout;
    }
    const Node& record = d.at(last);
    const Node& first = d.at(record.first);
    layout.record_indent = indent_before(d.document, record.span.begin).value_or("");
    const std::string_view inside = d.document.substr(record.span.begin, content_end(d.document, record) - record.span.begin);
    layout.multi_line = inside.find_first_of("\n\r") != std::string_view::npos;
    layout.member_indent = indent_before(d.document, first.key.begin).value_or(layout.record_indent + unit);
    if (first.value != NO_NODE && first.colon) {
        const std::string_view between =
            d.document.substr(first.key.end, d.at(first.value).span.begin - first.key.end);
        if (between == ":" || between == ": " || between == " : ") layout.colon = std::string(between);
    }
    if (!layout.multi_line && first.next != NO_NODE)
        if (const auto comma = comma_between(d.document, first.span.end, d.at(first.next).key.begin)) layout.comma = *comma;
    return layout;
}

// A text as a snippet's plain part: `$`, `}` and `\` escaped.
std::string snippet_text(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '$' || c == '}' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

struct Window {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

// From the next whole hour on the author's clock to the same time fourteen days later.
Window new_window(const CompletionOptions& options) {
    const std::int64_t local = options.zone.local_of(options.now);
    const std::int64_t hour = (local >= 0 ? local / HOUR : (local - HOUR + 1) / HOUR) + 1;
    return {options.zone.utc_of(hour * HOUR), options.zone.utc_of(hour * HOUR + NEW_WINDOW_DAYS * DAY)};
}

// "message-N", the first N from one past the number of messages that no message's id is.
std::string unused_id(const Draft& d) {
    std::vector<std::string> ids;
    const std::uint32_t list = message_list(d.document, d.tree);
    if (list != NO_NODE)
        for (std::uint32_t r = d.at(list).first; r != NO_NODE; r = d.at(r).next)
            if (const std::uint32_t id = value_named(d.document, d.tree, r, "id"); id != NO_NODE)
                ids.push_back(token_text(d.document, d.at(id).span));
    for (std::size_t n = ids.size() + 1;; ++n) {
        std::string id = "message-" + decimal(n);
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) return id;
    }
}

struct NewMessage {
    std::string text;
    std::size_t title = 0;  // inside the quotation marks of its empty title, in `text`
    std::string snippet;
    std::string label;
    std::string detail;
};

// The record, its first line at the place and the rest indented by `indent`.
NewMessage new_message(const Draft& d, const Layout& layout, const std::string& indent,
                       const CompletionOptions& options) {
    const Window window = new_window(options);
    const std::string id = unused_id(d);
    struct Field {
        std::string_view key;
        std::string value;
        std::string snippet;
    };
    const std::array<Field, 6> fields = {{
        {"id", "\"" + id + "\"", "\"${1:" + snippet_text(id) + "}\""},
        {"priority", "1", "1"},
        {"title", "\"\"", "\"$2\""},
        {"body", "\"\"", "\"$3\""},
        {"start_at", signed_decimal(window.start), signed_decimal(window.start)},
        {"end_at", signed_decimal(window.end), signed_decimal(window.end)},
    }};
    NewMessage out;
    const std::string open = layout.multi_line ? "{" + layout.line_end : "{";
    out.text = open;
    out.snippet = open;
    const std::string member_indent =
        indent + (layout.member_indent.starts_with(layout.record_indent)
                      ? layout.member_indent.substr(layout.record_indent.size())
                      : std::string("  "));
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string before = layout.multi_line ? member_indent : "";
        const std::string after = i + 1 == fields.size() ? (layout.multi_line ? layout.line_end : "")
                                  : layout.multi_line     ? "," + layout.line_end
                                                          : layout.comma;
        const std::string key = "\"" + std::string(fields[i].key) + "\"" + layout.colon;
        if (fields[i].key == "title") out.title = out.text.size() + before.size() + key.size() + 1;
        out.text += before + key + fields[i].value + after;
        out.snippet += snippet_text(before + key) + fields[i].snippet + snippet_text(after);
    }
    const std::string close = layout.multi_line ? indent + "}" : "}";
    out.text += close;
    out.snippet += snippet_text(close) + "$0";
    out.label = "новое сообщение " + wall_text(window.start, options.zone).substr(0, 16) + " — " +
                wall_text(window.end, options.zone);
    out.detail = "id " + id + ", приоритет 1, показ " + decimal(NEW_WINDOW_DAYS) + " дней";
    return out;
}

bool is_word_byte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

// The bytes of a word the author is typing just before `offset`.
Span word_before(std::string_view document, std::size_t offset) {
    std::size_t begin = offset;
    while (begin > 0 && is_word_byte(document[begin - 1])) --begin;
    return {begin, offset};
}

void add_keys(const Draft& d, std::uint32_t object, std::uint32_t editing, Span replace, bool with_value,
              std::vector<CompletionItem>& out) {
    const Layout layout = layout_of(d);
    for (const KeyInfo& info : keys_of(place_of(d.document, d.tree, object))) {
        bool present = false;
        for (std::uint32_t m = d.at(object).first; m != NO_NODE; m = d.at(m).next)
            present = present || (m != editing && token_text(d.document, d.at(m).key) == info.key);
        if (present) continue;
        CompletionItem item{.kind = CompletionKind::key,
                            .label = std::string(info.key),
                            .detail = info.detail,
                            .documentation = documentation_of(info.key),
                            .replace = replace,
                            .text = "\"" + std::string(info.key) + "\"",
                            .snippet = {},
                            .filter = {}};
        if (with_value) {
            item.snippet = snippet_text(item.text + layout.colon) + info.value_snippet;
            item.text += layout.colon;
        }
        const std::string_view typed = d.document.substr(replace.begin, replace.end - replace.begin);
        item.filter = typed.starts_with('"') ? "\"" + std::string(info.key) + "\"" : std::string(info.key);
        out.push_back(std::move(item));
    }
}

CompletionItem value_item(std::string label, std::string detail, std::string documentation, Span replace) {
    CompletionItem item{.kind = CompletionKind::value,
                        .label = label,
                        .detail = std::move(detail),
                        .documentation = std::move(documentation),
                        .replace = replace,
                        .text = label,
                        .snippet = {},
                        .filter = label};
    return item;
}

// The time key whose value the cursor is in, read from its line alone: the tokens of a date
// written without quotation marks (`2026-03-20 10:00`) are not one value, but the line shows
// what the author is writing.
std::optional<std::string_view> time_key_before(std::string_view document, std::size_t offset) {
    const std::string_view line = line_before(document, offset);
    for (const std::string_view key : {"start_at", "end_at"}) {
        const std::size_t quoted = line.rfind("\"" + std::string(key) + "\"");
        if (quoted == std::string_view::npos) continue;
        const std::size_t colon = line.find_first_not_of(" \t", quoted + key.size() + 2);
        if (colon == std::string_view::npos || line[colon] != ':') continue;
        if (line.find_first_of(",{}[]", colon) == std::string_view::npos) return key;
    }
    return std::nullopt;
}

// The date the author typed as the value of `start_at` or `end_at` on the line before `offset`,
// as its seconds.
void add_dates(const Draft& d, std::size_t offset, std::string_view key, const CompletionOptions& options,
               std::vector<CompletionItem>& out) {
    const std::string_view line = line_before(d.document, offset);
    const std::size_t line_start = offset - line.size();
    const std::size_t quoted = line.rfind("\"" + std::string(key) + "\"");
    if (quoted == std::string_view::npos) return;
    const std::size_t colon = line.find(':', quoted);
    if (colon == std::string_view::npos) return;
    std::size_t begin = line.find_first_not_of(" \t", colon + 1);
    if (begin == std::string_view::npos) begin = line.size();
    std::size_t end = line.size();
    std::string_view typed = line.substr(begin, end - begin);
    const bool opened = typed.starts_with('"');
    if (opened) typed.remove_prefix(1);
    if (typed.ends_with('"')) typed.remove_suffix(1);
    // The quotation mark that closes a date typed inside quotation marks is written over too.
    std::size_t replace_end = line_start + end;
    if (opened && !line.substr(begin + 1).ends_with('"') && replace_end < d.document.size() &&
        d.document[replace_end] == '"')
        ++replace_end;
    const Span replace{line_start + begin, replace_end};
    const auto add = [&](std::int64_t seconds, std::string detail) {
        CompletionItem item = value_item(signed_decimal(seconds), std::move(detail),
                                         std::string(documentation_of(key)), replace);
        item.kind = CompletionKind::date;
        item.filter = std::string(d.document.substr(replace.begin, replace.end - replace.begin));
        out.push_back(std::move(item));
    };
    const std::string trimmed(typed.substr(0, typed.find_last_not_of(" \t") + 1));
    if (!trimmed.empty()) {
        if (const auto date = date_seconds(trimmed, options.zone)) {
            add(date->seconds, wall_text(date->seconds, date->zone_given ? AuthorZone{} : options.zone) + " — " +
                                   (date->zone_given ? "часовой пояс указан в дате" : zone_words(options.zone)));
            return;
        }
        if (trimmed.find_first_not_of("-0123456789") == std::string::npos) return;  // seconds already
    }
    const Window window = new_window(options);
    const std::int64_t seconds = key == "start_at" ? window.start : window.end;
    add(seconds, wall_text(seconds, options.zone) +
                     (key == "start_at" ? " — следующий час" : " — через " + decimal(NEW_WINDOW_DAYS) + " дней"));
}

void add_values(const Draft& d, std::uint32_t member, Span replace, std::vector<CompletionItem>& out) {
    const Node& m = d.at(member);
    const std::string key = token_text(d.document, m.key);
    const Place place = place_of(d.document, d.tree, m.parent);
    if (place == Place::message) {
        if (key == "cta") {
            out.push_back(value_item("null", "без действия", documentation_of("cta"), replace));
            for (const std::string_view kind : CTA_KINDS)
                out.push_back(value_item("{\"kind\": \"" + std::string(kind) + "\"}", kind_meaning(kind),
                                         documentation_of("cta"), replace));
        } else if (key == "minVersion" || key == "maxVersion") {
            out.push_back(value_item("null", "любая версия", documentation_of(key), replace));
            CompletionItem version = value_item("\"1.0.0\"", "версия из трёх чисел", documentation_of(key), replace);
            version.snippet = "\"${1:1}.${2:0}.${3:0}\"";
            out.push_back(std::move(version));
        } else if (key == "priority") {
            for (unsigned p = 0; p <= MAX_PRIORITY; ++p)
                out.push_back(value_item(decimal(p), "приоритет " + decimal(p), documentation_of(key), replace));
        }
    } else if (place == Place::cta && key == "kind") {
        for (const std::string_view kind : CTA_KINDS)
            out.push_back(value_item("\"" + std::string(kind) + "\"", kind_meaning(kind), documentation_of(key),
                                     replace));
    } else if (place == Place::feed && key == "schema") {
        out.push_back(value_item("1", "версия формата", documentation_of(key), replace));
    }
}

// Whether a comma must stand between what ends just before `at` and a value written there.
bool needs_comma_before(std::string_view document, std::size_t at) {
    const std::size_t last = previous_token_end(document, at);
    if (last == NO_OFFSET) return false;
    const char c = document[last];
    return c != '[' && c != ',' && c != '{';
}

void add_message(const Draft& d, Span replace, const CompletionOptions& options, std::vector<CompletionItem>& out) {
    const Layout layout = layout_of(d);
    const std::string indent = indent_before(d.document, replace.begin).value_or(layout.record_indent);
    const NewMessage message = new_message(d, layout, indent, options);
    const std::string comma = needs_comma_before(d.document, replace.begin) ? "," : "";
    const std::size_t next = skip_space(d.document, replace.end);
    const std::string trailing = next < d.document.size() && d.document[next] == '{' ? "," : "";
    CompletionItem item{.kind = CompletionKind::message,
                        .label = message.label,
                        .detail = message.detail,
                        .documentation = "новое сообщение с id, которого в ленте ещё нет",
                        .replace = replace,
                        .text = comma + message.text + trailing,
                        .snippet = snippet_text(comma) + message.snippet + snippet_text(trailing),
                        .filter = std::string(d.document.substr(replace.begin, replace.end - replace.begin))};
    out.push_back(std::move(item));
}

// A token ends for completion where its line does: a string left open runs on to the end of the
// draft, but what the author is writing is on the cursor's line.
Span on_its_line(std::string_view document, Span token, std::size_t offset) {
    const std::size_t line_end = document.find_first_of("\n\r", std::min(token.begin, offset));
    if (line_end != std::string_view::npos && line_end < token.end) token.end = std::max(line_end, offset);
    return token;
}

}  // namespace

std::vector<CompletionItem> completions(const DraftView& draft, std::size_t offset, const CompletionOptions& options) {
    const Draft& d = draft.values();
    const std::string_view document = d.document;
    offset = std::min(offset, document.size());
    std::vector<CompletionItem> out;
    if (const auto key = time_key_before(document, offset)) {
        add_dates(d, offset, *key, options, out);
        return out;
    }
    const std::uint32_t n = node_at(d.tree, offset);
    if (n == NO_NODE) return out;
    const Node& node = d.at(n);
    switch (node.kind) {
        case NodeKind::member:
            if (offset <= node.key.end && node.key.end > node.key.begin) {
                add_keys(d, node.parent, n, on_its_line(document, node.key, offset), !node.colon, out);
            }
            break;
        case NodeKind::scalar: {
            const std::uint32_t parent = node.parent;
            if (parent != NO_NODE && d.at(parent).kind == NodeKind::member)
                add_values(d, parent, on_its_line(document, node.span, offset), out);
            else if (parent != NO_NODE && place_of(document, d.tree, parent) == Place::message_list)
                add_message(d, on_its_line(document, node.span, offset), options, out);
            break;
        }
        case NodeKind::object: {
            // Just past a member's colon, its value is due there.
            std::uint32_t last = NO_NODE;
            for (std::uint32_t m = node.first; m != NO_NODE && d.at(m).key.begin < offset; m = d.at(m).next) last = m;
            if (last != NO_NODE && d.at(last).value == NO_NODE) {
                // Past a key whose colon is not written yet, neither a key nor a value is due.
                if (d.at(last).colon) add_values(d, last, {offset, offset}, out);
            } else
                add_keys(d, n, NO_NODE, word_before(document, offset), true, out);
            break;
        }
        case NodeKind::array:
            if (place_of(document, d.tree, n) == Place::message_list && offset > node.span.begin)
                add_message(d, word_before(document, offset), options, out);
            break;
    }
    return out;
}

std::optional<NewMessageFix> new_message_fix(const DraftView& draft, const CompletionOptions& options) {
    const Draft& d = draft.values();
    const std::string_view document = d.document;
    const std::uint32_t list = message_list(document, d.tree);
    if (list == NO_NODE) return std::nullopt;
    const Layout layout = layout_of(d);
    std::uint32_t last = NO_NODE;
    for (std::uint32_t r = d.at(list).first; r != NO_NODE; r = d.at(r).next) last = r;
    Fix fix{.title = "добавить новое сообщение", .safe = true, .edits = {}};
    if (last == NO_NODE) {
        const std::string key_indent = indent_before(document, d.at(d.at(list).parent).span.begin).value_or("");
        const NewMessage message = new_message(d, layout, layout.record_indent, options);
        const std::string before = layout.line_end + layout.record_indent;
        const std::string text = before + message.text + layout.line_end + key_indent;
        const std::size_t at = d.at(list).span.begin + 1;
        // The white space already inside `[ ]` is written over, so the list is laid out afresh.
        const std::size_t end = d.at(list).closed ? skip_space(document, at) : at;
        fix.edits.push_back({at, end == d.at(list).span.end - 1 ? end : at, text});
        return NewMessageFix{std::move(fix), before.size() + message.title};
    }
    const std::optional<std::string> indent = indent_before(document, d.at(last).span.begin);
    const NewMessage message = new_message(d, layout, indent.value_or(layout.record_indent), options);
    std::string separator = indent ? "," + layout.line_end + *indent : layout.comma;
    // Records on one line are parted as the two last ones are.
    if (!indent)
        for (std::uint32_t r = d.at(list).first; r != NO_NODE; r = d.at(r).next)
            if (d.at(r).next == last)
                if (const auto comma = comma_between(document, d.at(r).span.end, d.at(last).span.begin)) separator = *comma;
    const std::size_t end = content_end(document, d.at(last));
    fix.edits.push_back({end, end, separator + message.text});
    return NewMessageFix{std::move(fix), separator.size() + message.title};
}

}  // namespace mt::lint
