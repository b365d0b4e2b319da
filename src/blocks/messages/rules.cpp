// The feed rules and the nine message rules, applied in a fixed order so that a feed with
// several faults always gets the same text: the first failing rule of the first failing message.
#include <charconv>
#include <cstdint>
#include <string>

#include "common/text.h"
#include "messages/messages.h"

namespace mt {
namespace {

bool is_id_byte(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

bool is_valid_id(std::string_view id) {
    if (id.empty() || id.size() > MAX_ID_BYTES) return false;
    for (char c : id)
        if (!is_id_byte(c)) return false;
    return true;
}

// What the length and control-character rules need from a text, gathered in one pass that the
// compiler can vectorise: titles and bodies make up most of a feed's bytes.
struct TextFacts {
    std::size_t chars = 0;
    bool has_control = false;
};

// Controls are U+0000..U+001F except line feed, and U+007F..U+009F. The texts are valid UTF-8,
// so the C1 controls are exactly the pairs C2 80..C2 9F; a C2 lead only marks a candidate.
TextFacts examine(std::string_view text) {
    TextFacts facts;
    unsigned suspect = 0;
    // Byte-wide counters over blocks short enough not to overflow keep the loop in byte lanes.
    for (std::size_t start = 0; start < text.size(); start += 255) {
        const std::string_view block = text.substr(start, 255);
        std::uint8_t chars = 0;
        std::uint8_t marks = 0;
        for (const char c : block) {
            const auto byte = static_cast<unsigned char>(c);
            chars += (byte & 0xC0) != 0x80;
            marks |= (byte < 0x20 && byte != '\n') | (byte == 0x7F) | (byte == 0xC2);
        }
        facts.chars += chars;
        suspect |= marks;
    }
    if (!suspect) return facts;
    for (std::size_t i = 0; i < text.size() && !facts.has_control; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        facts.has_control =
            (byte < 0x20 && byte != '\n') || byte == 0x7F || (byte == 0xC2 && next >= 0x80 && next <= 0x9F);
    }
    return facts;
}

constexpr std::string_view VERSION_NOT_SEMVER = "messages: версия не semver из 3 числовых частей";

std::string with_id(std::string_view text, std::string_view id) {
    std::string out(text);
    out += " (id ";
    out += quoted_form(id);
    out += ')';
    return out;
}

Result<void> check_versions(const Message& message) {
    std::optional<Version> min, max;
    if (message.minVersion && !(min = parse_version(*message.minVersion)))
        return fail(with_id(VERSION_NOT_SEMVER, message.id));
    if (message.maxVersion && !(max = parse_version(*message.maxVersion)))
        return fail(with_id(VERSION_NOT_SEMVER, message.id));
    if (min && max && *min > *max)
        return fail(with_id("messages: minVersion " + *message.minVersion + " > maxVersion " + *message.maxVersion,
                            message.id));
    return {};
}

// Rules 1 to 8 for one message, in order.
Result<void> check_message(const Message& message) {
    if (!is_valid_id(message.id))
        return fail("messages: недопустимый id " + quoted_form(message.id) + " (ASCII [A-Za-z0-9_-], 1..=" +
                    decimal(MAX_ID_BYTES) + ")");
    if (message.priority > MAX_PRIORITY)
        return fail(with_id("messages: priority " + decimal(message.priority) + " вне 0..=" + decimal(MAX_PRIORITY),
                            message.id));
    const TextFacts title = examine(message.title);
    const TextFacts body = examine(message.body);
    if (title.chars > MAX_TITLE_CHARS)
        return fail(with_id("messages: title длиннее " + decimal(MAX_TITLE_CHARS) + " символов", message.id));
    if (body.chars > MAX_BODY_CHARS)
        return fail(with_id("messages: body длиннее " + decimal(MAX_BODY_CHARS) + " символов", message.id));
    if (trim_white_space(message.title).empty() || trim_white_space(message.body).empty())
        return fail(with_id("messages: пустые title/body после trim", message.id));
    if (title.has_control || body.has_control)
        return fail(with_id("messages: управляющие символы в title/body", message.id));
    if (message.end_at <= message.start_at) return fail(with_id("messages: end_at <= start_at", message.id));
    return check_versions(message);
}

}  // namespace

std::optional<Version> parse_version(std::string_view text) {
    std::uint64_t parts[3];
    for (int index = 0; index < 3; ++index) {
        const std::size_t dot = index < 2 ? text.find('.') : text.size();
        if (dot == std::string_view::npos) return std::nullopt;
        const std::string_view part = text.substr(0, dot);
        if (part.empty() || (part.size() > 1 && part[0] == '0')) return std::nullopt;
        for (char c : part)
            if (c < '0' || c > '9') return std::nullopt;  // also refuses a fourth part's '.'
        if (std::from_chars(part.data(), part.data() + part.size(), parts[index]).ec != std::errc{})
            return std::nullopt;  // beyond 64 bits
        text.remove_prefix(index < 2 ? dot + 1 : dot);
    }
    return Version{parts[0], parts[1], parts[2]};
}

Result<void> check_feed_rules(const Feed& feed) {
    if (feed.schema != SUPPORTED_SCHEMA) return fail("messages: неизвестная schema " + decimal(feed.schema));
    if (feed.revision < MIN_REVISION) return fail("messages: revision обязателен и должен быть >= 1 — отклонена");
    if (feed.messages.size() > MAX_MESSAGES)
        return fail("messages: " + decimal(feed.messages.size()) + " сообщений больше " + decimal(MAX_MESSAGES) +
                    " — отклонена целиком");
    for (std::size_t index = 0; index < feed.messages.size(); ++index) {
        const Message& message = feed.messages[index];
        if (auto checked = check_message(message); !checked) return checked;
        for (std::size_t earlier = 0; earlier < index; ++earlier)
            if (feed.messages[earlier].id == message.id)
                return fail("messages: дубликат id " + quoted_form(message.id));
    }
    return {};
}

}  // namespace mt
