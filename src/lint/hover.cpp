#include "lint/hover.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>

#include "common/digits.h"
#include "messages/messages.h"
#include "time_text.h"

namespace mt::lint {
namespace {

// The document's own text on one line (a line break would end the list item).
std::string one_line(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\n' || c == '\r') c = ' ';
    return out;
}

// How the hover writes the two kinds of text it has: its own words, some in bold, and the
// document's values, which Markdown must not read as markup.
struct Writer {
    HoverFormat format;

    std::string bold(std::string_view words) const {
        return format == HoverFormat::markdown ? "**" + std::string(words) + "**" : std::string(words);
    }

    // A code span with a fence longer than any run of backticks inside, padded where the value
    // begins or ends with one.
    std::string value(std::string_view text) const {
        std::string line = one_line(text);
        if (format == HoverFormat::plain_text) return line;
        std::size_t longest = 0, run = 0;
        for (const char c : line) {
            run = c == '`' ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        const std::string fence(longest + 1, '`');
        const bool pad = !line.empty() && (line.front() == '`' || line.back() == '`');
        return fence + (pad ? " " : "") + line + (pad ? " " : "") + fence;
    }
};

std::string length_line(const Writer& w, std::string_view name, std::size_t chars, std::size_t limit) {
    std::string line = "- " + std::string(name) + ": " + decimal(chars) + " из " + decimal(limit) + " символов";
    if (chars > limit) line += " — " + w.bold("длиннее предела");
    return line + "\n";
}

// "2026-01-01 00:00:00 UTC (start_at: `1767225600`, секунды Unix)": the value read as Unix
// seconds, and the number exactly as the document writes it.
std::string time_line(const Writer& w, std::string_view name, std::string_view field, std::string_view value,
                      std::string_view text) {
    std::int64_t seconds = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    const bool read = error == std::errc{} && end == value.data() + value.size();
    return "- " + std::string(name) + ": " + (read ? utc_text(seconds) : w.value(value)) + " (" + std::string(field) +
           ": " + w.value(text) + ", секунды Unix)\n";
}

}  // namespace

std::string message_hover(const MessageSummary& m, HoverFormat format) {
    const Writer w{format};
    std::string out = w.bold("Сообщение " + w.value(m.id)) + " · приоритет " + decimal(m.priority) + "\n\n";
    out += length_line(w, "заголовок", m.title_chars, MAX_TITLE_CHARS);
    out += length_line(w, "текст", m.body_chars, MAX_BODY_CHARS);
    out += time_line(w, "показ с", "start_at", m.start_at, m.start_at_text);
    out += time_line(w, "показ до", "end_at", m.end_at, m.end_at_text);
    out += "- действие: " + (m.cta ? w.value(*m.cta) : std::string("нет")) + "\n";
    out += "- версии: " + (m.min_version ? w.value(*m.min_version) : std::string("любая")) + " … " +
           (m.max_version ? w.value(*m.max_version) : std::string("любая")) + "\n";
    return out;
}

}  // namespace mt::lint
