#include "lint/problems.h"

#include <algorithm>

#include "code_point.h"
#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "locate.h"
#include "messages/messages.h"
#include "plural.h"
#include "problem_fixes.h"
#include "reading_problem.h"
#include "rule_codes.h"
#include "summarize_messages.h"
#include "value_notes.h"
#include "warnings.h"

namespace mt::lint {
namespace {

std::string_view field_of(Subject subject) { return subject == Subject::title ? "title" : "body"; }

std::vector<std::string> notes_for(const Feed& feed, const RuleFailure& failure) {
    switch (failure.rule) {
        case Rule::title_length:
        case Rule::body_length: {
            std::vector<std::string> notes = {
                "в " + std::string(field_of(failure.subject)) + " " +
                count_of(failure.measured, "символ", "символа", "символов") + ", допустимо не больше " +
                decimal(failure.rule == Rule::title_length ? MAX_TITLE_CHARS : MAX_BODY_CHARS)};
            const Message& m = feed.messages[failure.message];
            if (auto note = code_points_note(failure.subject == Subject::title ? m.title : m.body))
                notes.push_back(std::move(*note));
            return notes;
        }
        case Rule::version: {
            const Message& m = feed.messages[failure.message];
            return {failure.subject == Subject::minVersion ? version_note("minVersion", m.minVersion.value_or(""))
                                                           : version_note("maxVersion", m.maxVersion.value_or(""))};
        }
        case Rule::control_character:
            return {"в " + std::string(field_of(failure.subject)) + " управляющий символ " +
                    code_point(failure.control)};
        default:
            return {};
    }
}

// A location at the value `span` stands for: the document's start when the reader recorded none.
Location location_of(Span span) {
    Location at;
    at.offset = span.begin == NO_OFFSET ? 0 : span.begin;
    at.end = span.end == NO_OFFSET ? at.offset : span.end;
    return at;
}

Check check_document(std::string_view document, const CheckOptions& options) {
    FeedLocations at;
    const auto feed = parse_feed(document, &at);
    if (!feed) return {{reading_problem(document, feed.error())}, {}};

    std::vector<TextCounts> counts;
    const std::vector<RuleFailure> failures = find_rule_failures(*feed, NO_MESSAGE, &counts);
    Check check;
    std::vector<Problem>& problems = check.problems;
    problems.reserve(failures.size());
    for (const RuleFailure& failure : failures) {
        Problem& problem = problems.emplace_back();
        problem.code = code_of(failure.rule);
        problem.text = escape_controls(failure_text(*feed, failure));
        problem.notes = notes_for(*feed, failure);
        problem.at = location_of(value_span(at, failure));
        if (failure.message != NO_MESSAGE) {
            problem.message = failure.message;
            problem.id = feed->messages[failure.message].id;
        }
        if (failure.rule == Rule::duplicate_id)
            problem.related = location_of(value_span(at, Subject::id, failure.earlier));
    }
    if (options.warnings)
        for (Problem& warning : find_warnings(*feed, at, options.now)) problems.push_back(std::move(warning));
    for (Problem& problem : problems)
        if (!problem.fix) problem.fix = value_fix(document, problem);
    std::vector<Location*> all;
    for (Problem& problem : problems) {
        all.push_back(&problem.at);
        if (problem.related) all.push_back(&*problem.related);
    }
    fill_lines_and_columns(document, std::move(all));
    for (Problem& problem : problems)
        if (problem.code == Code::duplicate_id && problem.related)
            problem.notes.push_back("этот id уже есть у сообщения на строке " + decimal(problem.related->line));
    check.messages = summarize_messages(document, *feed, at, counts);
    return check;
}

}  // namespace

std::vector<Problem> find_problems(std::string_view document, const CheckOptions& options) {
    return check_document(document, options).problems;
}

Problem oversize_problem(std::string_view head, std::uint64_t file_length, std::string_view path) {
    Problem problem;
    problem.code = Code::size;
    problem.at.offset = MAX_FEED_BYTES;
    // The first byte past the limit may be inside a character: the author is shown all of it.
    if (const std::size_t start = character_start(head, MAX_FEED_BYTES); start != MAX_FEED_BYTES)
        problem.at.shown = start;
    problem.at.end = head.size();  // what was read past the limit
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
    return check_document(head, options);
}

}  // namespace mt::lint
