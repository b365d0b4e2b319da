// The feed rules and the nine message rules, applied in a fixed order so that a feed with
// several faults always gets the same text: the first failing rule of the first failing message.
// The same walk can go on past the first failure, for programs that list every problem.
#include "messages/rules.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <tuple>

#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "common/white_space.h"
#include "text_facts.h"

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
    bool add(RuleFailure failure) {
        list.push_back(failure);
        return list.size() >= limit;
    }
};

// The first control character of a text that holds one.
char32_t first_control_character(std::string_view text) {
    while (!text.empty()) {
        const Character c = first_character(text);
        if (c.valid && is_control_character(c.value)) return c.value;
        text.remove_prefix(c.length);
    }
    return 0;
}

// The rules of one message, in order; true when no more failures are wanted.
bool check_message(const Feed& feed, std::size_t index, Failures& failures, std::vector<TextCounts>* counts) {
    const Message& m = feed.messages[index];
    const auto add = [&](Rule rule, Subject subject) {
        RuleFailure failure;
        failure.rule = rule;
        failure.subject = subject;
        failure.message = index;
        return failure;
    };
    if (!is_valid_id(m.id) && failures.add(add(Rule::id, Subject::id))) return true;
    if (m.priority > MAX_PRIORITY && failures.add(add(Rule::priority, Subject::priority))) return true;

    const TextFacts title = examine_text(m.title);
    const TextFacts body = examine_text(m.body);
    if (counts) counts->push_back({title.chars, body.chars});
    for (const auto& [facts, rule, subject, limit] :
         {std::tuple{&title, Rule::title_length, Subject::title, MAX_TITLE_CHARS},
          std::tuple{&body, Rule::body_length, Subject::body, MAX_BODY_CHARS}}) {
        if (facts->chars <= limit) continue;
        RuleFailure failure = add(rule, subject);
        failure.measured = facts->chars;
        if (failures.add(failure)) return true;
    }
    for (const auto& [text, subject] : {std::pair{&m.title, Subject::title}, std::pair{&m.body, Subject::body}})
        if (trim_white_space(*text).empty() && failures.add(add(Rule::empty_text, subject))) return true;
    for (const auto& [facts, text, subject] :
         {std::tuple{&title, &m.title, Subject::title}, std::tuple{&body, &m.body, Subject::body}}) {
        if (!facts->has_control) continue;
        RuleFailure failure = add(Rule::control_character, subject);
        failure.control = first_control_character(*text);
        if (failures.add(failure)) return true;
    }
    if (m.end_at <= m.start_at && failures.add(add(Rule::time_window, Subject::end_at))) return true;

    std::optional<Version> min, max;
    if (m.minVersion && !(min = parse_version(*m.minVersion)) && failures.add(add(Rule::version, Subject::minVersion)))
        return true;
    if (m.maxVersion && !(max = parse_version(*m.maxVersion)) && failures.add(add(Rule::version, Subject::maxVersion)))
        return true;
    if (min && max && *min > *max && failures.add(add(Rule::version_order, Subject::minVersion))) return true;

    for (std::size_t earlier = 0; earlier < index; ++earlier) {
        if (feed.messages[earlier].id != m.id) continue;
        RuleFailure failure = add(Rule::duplicate_id, Subject::id);
        failure.earlier = earlier;
        return failures.add(failure);
    }
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

std::vector<RuleFailure> find_rule_failures(const Feed& feed, std::size_t limit, std::vector<TextCounts>* counts) {
    Failures failures{{}, limit};
    if (limit == 0) return {};
    const auto feed_failure = [](Rule rule, Subject subject, std::size_t message = NO_MESSAGE) {
        RuleFailure failure;
        failure.rule = rule;
        failure.subject = subject;
        failure.message = message;
        return failure;
    };
    if (feed.schema != SUPPORTED_SCHEMA && failures.add(feed_failure(Rule::schema, Subject::schema)))
        return std::move(failures.list);
    if (feed.revision < MIN_REVISION && failures.add(feed_failure(Rule::revision, Subject::revision)))
        return std::move(failures.list);
    if (feed.messages.size() > MAX_MESSAGES && failures.add(feed_failure(Rule::count, Subject::message, MAX_MESSAGES)))
        return std::move(failures.list);
    if (counts) counts->reserve(feed.messages.size());
    for (std::size_t index = 0; index < feed.messages.size(); ++index)
        if (check_message(feed, index, failures, counts)) break;
    return std::move(failures.list);
}

std::string failure_text(const Feed& feed, const RuleFailure& failure) {
    // Only the message rules look at the message, and theirs is always one of the feed's.
    const auto message = [&]() -> const Message& { return feed.messages[failure.message]; };
    switch (failure.rule) {
        case Rule::schema:
            return "messages: неизвестная schema " + decimal(feed.schema);
        case Rule::revision:
            return "messages: revision обязателен и должен быть >= " + decimal(MIN_REVISION) + " — отклонена";
        case Rule::count:
            return "messages: " + decimal(feed.messages.size()) + " сообщений больше " + decimal(MAX_MESSAGES) +
                   " — отклонена целиком";
        case Rule::id:
            return "messages: недопустимый id " + quoted_form(message().id) +
                   " (ASCII [A-Za-z0-9_-], 1..=" + decimal(MAX_ID_BYTES) + ")";
        case Rule::priority:
            return with_id("messages: priority " + decimal(message().priority) + " вне 0..=" + decimal(MAX_PRIORITY),
                           message().id);
        case Rule::title_length:
            return with_id("messages: title длиннее " + decimal(MAX_TITLE_CHARS) + " символов", message().id);
        case Rule::body_length:
            return with_id("messages: body длиннее " + decimal(MAX_BODY_CHARS) + " символов", message().id);
        case Rule::empty_text:
            return with_id("messages: пустые title/body после trim", message().id);
        case Rule::control_character:
            return with_id("messages: управляющие символы в title/body", message().id);
        case Rule::time_window:
            return with_id("messages: end_at <= start_at", message().id);
        case Rule::version:
            return with_id("messages: версия не semver из 3 числовых частей", message().id);
        case Rule::version_order:
            return with_id("messages: minVersion " + message().minVersion.value_or("") + " > maxVersion " +
                               message().maxVersion.value_or(""),
                           message().id);
        case Rule::duplicate_id:
            return "messages: дубликат id " + quoted_form(message().id);
    }
    return {};
}

}  // namespace mt
