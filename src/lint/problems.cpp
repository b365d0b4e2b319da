#include "lint/problems.h"

#include <algorithm>

#include "code_point.h"
#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "feed_files/limits.h"
#include "locate.h"
#include "messages/messages.h"
#include "reading_problem.h"
#include "rule_codes.h"
#include "value_notes.h"
#include "warnings.h"

namespace mt::lint {
namespace {

std::string_view field_of(Subject subject) { return subject == Subject::title ? "title" : "body"; }

std::vector<std::string> notes_for(const Feed& feed, const RuleFailure& failure) {
    const auto text_of = [&](Subject s) -> const std::string& {
        const Message& m = feed.messages[failure.message];
        return s == Subject::title ? m.title : m.body;
    };
    switch (failure.rule) {
        case Rule::title_length:
        case Rule::body_length: {
            std::vector<std::string> notes = {
                "в " + std::string(field_of(failure.subject)) + " " +
                count_of(count_characters(text_of(failure.subject)), "символ", "символа", "символов") +
                ", допустимо не больше " +
                decimal(failure.rule == Rule::title_length ? MAX_TITLE_CHARS : MAX_BODY_CHARS)};
            if (auto note = code_points_note(text_of(failure.subject))) notes.push_back(std::move(*note));
            return notes;
        }
        case Rule::version: {
            const Message& m = feed.messages[failure.message];
            return {failure.subject == Subject::minVersion ? version_note("minVersion", m.minVersion.value_or(""))
                                                           : version_note("maxVersion", m.maxVersion.value_or(""))};
        }
        case Rule::control_character:
            if (const auto control = first_control_character(text_of(failure.subject)))
                return {"в " + std::string(field_of(failure.subject)) + " управляющий символ " + code_point(*control)};
            return {};
        default:
            return {};
    }
}

}  // namespace

std::vector<Problem> find_problems(std::string_view document, const CheckOptions& options) {
    FeedLocations at;
    const auto feed = read_feed_document(document, &at);
    if (!feed) return {reading_problem(document, feed.error())};

    const std::vector<RuleFailure> failures = find_rule_failures(*feed);
    std::vector<Problem> problems;
    problems.reserve(failures.size());
    // Where the first message with a duplicate id has that id, one per duplicate-id problem.
    std::vector<std::pair<std::size_t, Location>> earlier_ids;
    for (const RuleFailure& failure : failures) {
        Problem& problem = problems.emplace_back();
        problem.code = code_of(failure.rule);
        problem.text = escape_controls(failure.text);
        problem.notes = notes_for(*feed, failure);
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
    if (options.warnings)
        for (Problem& warning : find_warnings(*feed, at, options.now)) problems.push_back(std::move(warning));
    std::vector<Location*> all;
    for (Problem& problem : problems) all.push_back(&problem.at);
    for (auto& [index, earlier] : earlier_ids) all.push_back(&earlier);
    fill_lines_and_columns(document, std::move(all));
    for (const auto& [index, earlier] : earlier_ids)
        problems[index].notes.push_back("этот id уже есть у сообщения на строке " + decimal(earlier.line));
    return problems;
}

Problem oversize_problem(std::string_view head, std::uint64_t file_length, std::string_view path) {
    Problem problem;
    problem.code = Code::size;
    problem.at.offset = MAX_FEED_BYTES;
    problem.text = escape_controls(feed_too_large_text(path, head.size()));
    fill_lines_and_columns(head, {&problem.at});
    // Only the cap was read; a length no greater is all that is known (a pipe, or a file that
    // grew or shrank meanwhile), and the file is at least that long.
    const std::uint64_t length = std::max<std::uint64_t>(file_length, head.size());
    const std::uint64_t excess = length - MAX_FEED_BYTES;
    problem.notes.push_back((length > head.size() ? "в файле " : "в файле не меньше ") +
                            count_of(static_cast<std::size_t>(length), "байт", "байта", "байт") +
                            ", допустимо не больше " + decimal(MAX_FEED_BYTES) + ": сократите его " +
                            (length > head.size() ? "на " : "хотя бы на ") +
                            count_of(static_cast<std::size_t>(excess), "байт", "байта", "байт"));
    return problem;
}

Check check_file(std::string_view head, std::uint64_t file_length, std::string_view path, const CheckOptions& options) {
    if (head.size() > MAX_FEED_BYTES) return {{oversize_problem(head, file_length, path)}, {}};
    return {find_problems(head, options), summarize_messages(head)};
}

}  // namespace mt::lint
