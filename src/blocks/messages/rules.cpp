// The feed rules and the nine message rules, applied in a fixed order so that a feed with
// several faults always gets the same text: the first failing rule of the first failing message.
// The same walk can go on past the first failure, for programs that list every problem.
#include <charconv>
#include <cstdint>
#include <string>

#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "common/white_space.h"
#include "messages/messages.h"
#include "messages_internal.h"

namespace mt {
namespace {

constexpr std::string_view VERSION_NOT_SEMVER = "messages: версия не semver из 3 числовых частей";

bool is_id_byte(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

bool is_valid_id(std::string_view id) {
    if (id.empty() || id.size() > MAX_ID_BYTES) return false;
    for (char c : id)
        if (!is_id_byte(c)) return false;
    return true;
}

std::string with_id(std::string_view text, std::string_view id) {
    std::string out(text);
    out += " (id ";
    out += quoted_form(id);
    out += ')';
    return out;
}

// Collects failures in rule order until `limit` of them are there.
struct Failures {
    std::vector<RuleFailure> list;
    std::size_t limit;

    // Records one failure; true when no more are wanted.
    bool add(Rule rule, Subject subject, std::size_t message, std::string text, std::size_t earlier = NO_MESSAGE) {
        list.push_back(RuleFailure{rule, subject, message, earlier, std::move(text)});
        return list.size() >= limit;
    }
};

// The rules of one message, in order; true when no more failures are wanted.
bool check_message(const Feed& feed, std::size_t index, Failures& failures) {
    const Message& m = feed.messages[index];
    const auto add = [&](Rule rule, Subject subject, std::string text, std::size_t earlier = NO_MESSAGE) {
        return failures.add(rule, subject, index, std::move(text), earlier);
    };
    if (!is_valid_id(m.id) && add(Rule::id, Subject::id,
                                  "messages: недопустимый id " + quoted_form(m.id) +
                                      " (ASCII [A-Za-z0-9_-], 1..=" + decimal(MAX_ID_BYTES) + ")"))
        return true;
    if (m.priority > MAX_PRIORITY &&
        add(Rule::priority, Subject::priority,
            with_id("messages: priority " + decimal(m.priority) + " вне 0..=" + decimal(MAX_PRIORITY), m.id)))
        return true;

    const TextFacts title = examine_text(m.title);
    const TextFacts body = examine_text(m.body);
    if (title.chars > MAX_TITLE_CHARS &&
        add(Rule::title_length, Subject::title,
            with_id("messages: title длиннее " + decimal(MAX_TITLE_CHARS) + " символов", m.id)))
        return true;
    if (body.chars > MAX_BODY_CHARS &&
        add(Rule::body_length, Subject::body,
            with_id("messages: body длиннее " + decimal(MAX_BODY_CHARS) + " символов", m.id)))
        return true;
    for (const auto& [text, subject] : {std::pair{&m.title, Subject::title}, std::pair{&m.body, Subject::body}})
        if (trim_white_space(*text).empty() &&
            add(Rule::empty_text, subject, with_id("messages: пустые title/body после trim", m.id)))
            return true;
    for (const auto& [facts, subject] : {std::pair{&title, Subject::title}, std::pair{&body, Subject::body}})
        if (facts->has_control &&
            add(Rule::control_character, subject, with_id("messages: управляющие символы в title/body", m.id)))
            return true;
    if (m.end_at <= m.start_at &&
        add(Rule::time_window, Subject::end_at, with_id("messages: end_at <= start_at", m.id)))
        return true;

    std::optional<Version> min, max;
    if (m.minVersion && !(min = parse_version(*m.minVersion)) &&
        add(Rule::version, Subject::minVersion, with_id(VERSION_NOT_SEMVER, m.id)))
        return true;
    if (m.maxVersion && !(max = parse_version(*m.maxVersion)) &&
        add(Rule::version, Subject::maxVersion, with_id(VERSION_NOT_SEMVER, m.id)))
        return true;
    if (min && max && *min > *max &&
        add(Rule::version_order, Subject::minVersion,
            with_id("messages: minVersion " + *m.minVersion + " > maxVersion " + *m.maxVersion, m.id)))
        return true;

    for (std::size_t earlier = 0; earlier < index; ++earlier)
        if (feed.messages[earlier].id == m.id)
            return add(Rule::duplicate_id, Subject::id, "messages: дубликат id " + quoted_form(m.id), earlier);
    return false;
}

}  // namespace

// Controls are U+0000..U+001F except line feed, and U+007F..U+009F. The texts are valid UTF-8,
// so the C1 controls are exactly the pairs C2 80..C2 9F; a C2 lead only marks a candidate.
TextFacts examine_text(std::string_view text) {
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

bool is_control_character(char32_t value) {
    return (value < 0x20 && value != U'\n') || (value >= 0x7F && value <= 0x9F);
}

std::optional<char32_t> first_control_character(std::string_view text) {
    while (!text.empty()) {
        const Character c = first_character(text);
        if (c.valid && is_control_character(c.value)) return c.value;
        text.remove_prefix(c.length);
    }
    return std::nullopt;
}

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

std::vector<RuleFailure> find_rule_failures(const Feed& feed, std::size_t limit) {
    Failures failures{{}, limit};
    if (limit == 0) return {};
    if (feed.schema != SUPPORTED_SCHEMA &&
        failures.add(Rule::schema, Subject::schema, NO_MESSAGE, "messages: неизвестная schema " + decimal(feed.schema)))
        return std::move(failures.list);
    if (feed.revision < MIN_REVISION && failures.add(Rule::revision, Subject::revision, NO_MESSAGE,
                                                     "messages: revision обязателен и должен быть >= 1 — отклонена"))
        return std::move(failures.list);
    if (feed.messages.size() > MAX_MESSAGES &&
        failures.add(Rule::count, Subject::message, MAX_MESSAGES,
                     "messages: " + decimal(feed.messages.size()) + " сообщений больше " + decimal(MAX_MESSAGES) +
                         " — отклонена целиком"))
        return std::move(failures.list);
    for (std::size_t index = 0; index < feed.messages.size(); ++index)
        if (check_message(feed, index, failures)) break;
    return std::move(failures.list);
}

Result<void> check_feed_rules(const Feed& feed) {
    std::vector<RuleFailure> first = find_rule_failures(feed, 1);
    if (first.empty()) return {};
    return fail(std::move(first.front().text));
}

}  // namespace mt
