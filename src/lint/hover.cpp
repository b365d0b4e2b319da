#include "lint/hover.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "common/digits.h"
#include "messages/messages.h"
#include "time_text.h"

namespace mt::lint {
namespace {

// A value as Markdown text: every character Markdown could read as markup is escaped.
std::string plain(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (std::string_view("\\`*_{}[]()<>#+-.!|~&").find(c) != std::string_view::npos) out += '\\';
        out += c == '\n' || c == '\r' ? ' ' : c;
    }
    return out;
}

std::string length_line(std::string_view name, std::size_t chars, std::size_t limit) {
    std::string line = "- " + std::string(name) + ": " + decimal(chars) + " из " + decimal(limit) + " символов";
    if (chars > limit) line += " — **длиннее предела**";
    return line + "\n";
}

// "2026-01-01 00:00:00 UTC (start_at: 1767225600, секунды Unix)": the value read as Unix
// seconds, and the number exactly as the document writes it.
std::string time_line(std::string_view name, std::string_view field, std::string_view value, std::string_view text) {
    std::int64_t seconds = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    const bool read = error == std::errc{} && end == value.data() + value.size();
    return "- " + std::string(name) + ": " + (read ? utc_text(seconds) : plain(value)) + " (" + std::string(field) +
           ": " + plain(text) + ", секунды Unix)\n";
}

}  // namespace

std::string message_markdown(const MessageSummary& m) {
    std::string out = "**Сообщение " + plain(m.id) + "** · приоритет " + decimal(m.priority) + "\n\n";
    out += length_line("заголовок", m.title_chars, MAX_TITLE_CHARS);
    out += length_line("текст", m.body_chars, MAX_BODY_CHARS);
    out += time_line("показ с", "start_at", m.start_at, m.start_at_text);
    out += time_line("показ до", "end_at", m.end_at, m.end_at_text);
    out += "- действие: " + (m.cta ? plain(*m.cta) : std::string("нет")) + "\n";
    out += "- версии: " + (m.min_version ? plain(*m.min_version) : std::string("любая")) + " … " +
           (m.max_version ? plain(*m.max_version) : std::string("любая")) + "\n";
    return out;
}

}  // namespace mt::lint
