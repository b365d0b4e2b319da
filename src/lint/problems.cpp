#include "lint/problems.h"

#include <algorithm>
#include <charconv>

#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "feed_files/limits.h"
#include "messages/messages.h"
#include "key_suggestion.h"
#include "locate.h"
#include "rule_codes.h"

namespace mt::lint {
namespace {

std::string code_point(char32_t value) {
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<std::uint32_t>(value), 16).ptr;
    std::string hex(digits, end);
    std::transform(hex.begin(), hex.end(), hex.begin(), [](char c) { return c >= 'a' ? c - 'a' + 'A' : c; });
    return "U+" + std::string(hex.size() < 4 ? 4 - hex.size() : 0, '0') + hex;
}

std::string_view field_of(Subject subject) { return subject == Subject::title ? "title" : "body"; }

std::vector<std::string> notes_for(const Feed& feed, const RuleFailure& failure) {
    const auto text_of = [&](Subject s) -> const std::string& {
        const Message& m = feed.messages[failure.message];
        return s == Subject::title ? m.title : m.body;
    };
    switch (failure.rule) {
        case Rule::title_length:
        case Rule::body_length:
            return {"в " + std::string(field_of(failure.subject)) + " " +
                    count_of(count_characters(text_of(failure.subject)), "символ", "символа", "символов") +
                    ", допустимо не больше " +
                    decimal(failure.rule == Rule::title_length ? MAX_TITLE_CHARS : MAX_BODY_CHARS)};
        case Rule::control_character:
            if (const auto control = first_control_character(text_of(failure.subject)))
                return {"в " + std::string(field_of(failure.subject)) + " управляющий символ " + code_point(*control)};
            return {};
        default:
            return {};
    }
}

}  // namespace

std::vector<Problem> find_problems(std::string_view document, [[maybe_unused]] const CheckOptions& options) {
    FeedLocations at;
    const auto feed = read_feed_document(document, &at);
    if (!feed) {
        const ReadError& error = feed.error();
        Problem problem{
            "json", {}, std::nullopt, std::nullopt, escape_controls(std::string(PARSE_ERROR_PREFIX) + error.text()), {}};
        // The reader's position stands just after the byte it is about, unless it starts a line.
        problem.at.offset = error.column > 0 ? error.offset - 1 : error.offset;
        fill_lines_and_columns(document, {&problem.at});
        if (document.starts_with("\xEF\xBB\xBF"))
            problem.notes.push_back(
                "файл начинается с метки порядка байтов (BOM, байты EF BB BF): сохраните его в UTF-8 без BOM "
                "(VS Code: «UTF-8 with BOM» в строке состояния → «Save with Encoding» → «UTF-8»; "
                "Блокнот: «Сохранить как», кодировка «UTF-8»)");
        if (error.kind == ReadErrorKind::unknown_field)
            if (auto key = nearest_key(error.key, error.expected_keys))
                problem.notes.push_back("возможно, имелось в виду `" + std::string(*key) + "`");
        return {std::move(problem)};
    }

    const std::vector<RuleFailure> failures = find_rule_failures(*feed);
    std::vector<Problem> problems;
    problems.reserve(failures.size());
    // Where the first message with a duplicate id has that id, one per duplicate-id problem.
    std::vector<std::pair<std::size_t, Location>> earlier_ids;
    for (const RuleFailure& failure : failures) {
        Problem& problem = problems.emplace_back(Problem{rule_code(failure.rule),
                                                         {},
                                                         std::nullopt,
                                                         std::nullopt,
                                                         escape_controls(failure.text),
                                                         notes_for(*feed, failure)});
        const std::size_t offset = value_offset(at, failure);
        problem.at.offset = offset == NO_OFFSET ? 0 : offset;
        if (failure.message != NO_MESSAGE) {
            problem.message = failure.message;
            problem.id = feed->messages[failure.message].id;
        }
        if (failure.rule == Rule::duplicate_id) {
            RuleFailure first = failure;
            first.message = failure.earlier;
            const std::size_t earlier = value_offset(at, first);
            earlier_ids.emplace_back(problems.size() - 1, Location{earlier == NO_OFFSET ? 0 : earlier});
        }
    }
    std::vector<Location*> all;
    for (Problem& problem : problems) all.push_back(&problem.at);
    for (auto& [index, earlier] : earlier_ids) all.push_back(&earlier);
    fill_lines_and_columns(document, std::move(all));
    for (const auto& [index, earlier] : earlier_ids)
        problems[index].notes.push_back("этот id уже есть у сообщения на строке " + decimal(earlier.line));
    return problems;
}

Problem oversize_problem(std::string_view head, [[maybe_unused]] std::uint64_t file_length, std::string_view path) {
    Problem problem{
        "size", {MAX_FEED_BYTES}, std::nullopt, std::nullopt, escape_controls(feed_too_large_text(path, head.size())),
        {}};
    fill_lines_and_columns(head, {&problem.at});
    return problem;
}

}  // namespace mt::lint
