#include "lint/problems.h"

#include <algorithm>

#include "code_point.h"
#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "draft_check.h"
#include "draft_reading.h"
#include "lint/line_index.h"
#include "locate.h"
#include "messages/messages.h"
#include "lint/plural.h"
#include "reading_problem.h"
#include "summarize_messages.h"
#include "syntax_mistakes.h"
#include "value_mistakes.h"
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
        case Rule::control_character:
            return {"в " + std::string(field_of(failure.subject)) + " управляющий символ " +
                    code_point(failure.control)};
        default:
            return {};
    }
}

// The problems the rules and the warnings find in `feed`, read from `document` with its values
// at `at`, their lines and columns filled; `counts` gets what the length rules counted. With
// `messages_only`, the rules on the feed itself are left out: `feed` holds only the messages of
// a draft that read on their own.
std::vector<Problem> rule_problems(std::string_view document, const Feed& feed, const FeedLocations& at,
                                   const CheckOptions& options, bool messages_only, std::vector<TextCounts>& counts) {
    const std::vector<RuleFailure> failures = find_rule_failures(feed, NO_MESSAGE, &counts);
    std::vector<Problem> problems;
    problems.reserve(failures.size());
    for (const RuleFailure& failure : failures) {
        if (messages_only && failure.message == NO_MESSAGE) continue;
        if (messages_only && failure.rule == Rule::count) continue;
        Problem& problem = problems.emplace_back();
        problem.code = code_of(failure.rule);
        problem.text = escape_controls(failure_text(feed, failure));
        problem.notes = notes_for(feed, failure);
        problem.span = marked_value(value_span(at, failure));
        problem.offset = problem.span.begin;
        if (failure.rule == Rule::version) {
            const Message& m = feed.messages[failure.message];
            const bool min = failure.subject == Subject::minVersion;
            ValueDiagnosis version = diagnose_version(document, min ? "minVersion" : "maxVersion",
                                                      (min ? m.minVersion : m.maxVersion).value_or(""),
                                                      value_span(at, failure));
            problem.notes = std::move(version.notes);
            problem.fix = std::move(version.fix);
        }
        if (failure.message != NO_MESSAGE) {
            problem.message = failure.message;
            problem.id = feed.messages[failure.message].id;
        }
        if (failure.rule == Rule::duplicate_id)
            problem.related = marked_value(value_span(at, Subject::id, failure.earlier));
    }
    if (options.warnings)
        for (Problem& warning : find_warnings(feed, at, options.now)) problems.push_back(std::move(warning));
    std::optional<LineIndex> lines;
    for (Problem& problem : problems) {
        if (problem.code != Code::duplicate_id || !problem.related) continue;
        if (!lines) lines.emplace(document, LineEnds::line_feed);
        problem.notes.push_back("этот id уже есть у сообщения на строке " +
                                decimal(lines->position(document, problem.related->begin, Unit::code_point).line + 1));
    }
    return problems;
}

// A later mistake of a draft's JSON as a problem of its own.
Problem syntax_problem(std::string_view document, const Diagnosis& mistake) {
    Problem problem;
    problem.code = Code::json;
    problem.text = std::string(mistake_text(mistake.mistake));
    problem.offset = mistake.stop;
    problem.span = marked(mistake.shown.value_or(Span{mistake.stop, token_end(document, mistake.stop)}));
    if (!mistake.note.empty()) problem.notes.push_back(mistake.note);
    problem.fix = mistake.fix;
    return problem;
}

// What a draft that does not read holds past its first problem, which stops the reader at byte
// `stop`: every later mistake of its JSON that the reading finds, and the problems of each of
// its messages that reads on its own (by the strict reader, checked by the same rules), in
// document order and the warnings after them, each marked as found after the first error; and
// the summary of each such message.
void add_later_problems(std::string_view document, const DraftReading& reading, std::size_t stop,
                        const CheckOptions& options, bool summaries, Check& check) {
    std::vector<Problem> later;
    const Diagnosis* before = nullptr;
    for (const Diagnosis& mistake : reading.diagnoses) {
        // What the grammar cannot follow just after a mistake it has no repair for is what that
        // mistake leaves (`- 1`), not one of its own.
        const bool left = mistake.mistake == Mistake::unexpected && before && !before->fix &&
                          skip_space(document, before->stop_last + 1) >= mistake.stop;
        if (mistake.stop > stop && !left) later.push_back(syntax_problem(document, mistake));
        before = &mistake;
    }

    Feed feed{.schema = SUPPORTED_SCHEMA, .revision = MIN_REVISION, .messages = {}};
    FeedLocations at;
    std::vector<std::size_t> index;  // each read message's place in the document's list
    for (const MessageStart& start : message_starts(document, reading)) {
        RecordLocations where;
        auto message = parse_message(document, start.begin, where);
        if (!message) continue;
        feed.messages.push_back(std::move(*message));
        at.messages.push_back(std::move(where));
        index.push_back(start.index);
    }
    std::vector<TextCounts> counts;
    for (Problem& problem : rule_problems(document, feed, at, options, true, counts)) {
        if (problem.message) problem.message = index[*problem.message];
        later.push_back(std::move(problem));
    }
    std::stable_sort(later.begin(), later.end(), [](const Problem& a, const Problem& b) {
        if (a.severity != b.severity) return a.severity == Severity::error;
        return a.span.begin < b.span.begin;
    });
    for (Problem& problem : later) {
        problem.after_first_error = true;
        check.problems.push_back(std::move(problem));
    }
    if (!summaries) return;
    check.messages = summarize_messages(document, feed, at, counts);
    for (MessageSummary& summary : check.messages) summary.index = index[summary.index];
}

// With `summaries`, the summary of each message that reads too.
DraftCheck check_document(std::string_view document, const CheckOptions& options, bool summaries) {
    FeedLocations at;
    const auto feed = parse_feed(document, &at);
    DraftCheck out;
    Check& check = out.check;
    if (!feed) {
        // One reading of the draft serves the first problem, the later ones and fixing.
        DraftReading reading = read_draft(document, options.zone);
        check.problems.push_back(reading_problem(document, feed.error(), reading, options.zone));
        add_later_problems(document, reading, check.problems.front().offset, options, summaries, check);
        out.mistakes = std::move(reading.diagnoses);
        return out;
    }
    std::vector<TextCounts> counts;
    check.problems = rule_problems(document, *feed, at, options, false, counts);
    if (summaries) check.messages = summarize_messages(document, *feed, at, counts);
    return out;
}

}  // namespace

DraftCheck check_draft(std::string_view document, const CheckOptions& options) {
    return check_document(document, options, false);
}

std::vector<Problem> find_problems(std::string_view document, const CheckOptions& options) {
    return check_document(document, options, false).check.problems;
}

Problem oversize_problem(std::string_view head, std::uint64_t file_length, std::string_view path) {
    Problem problem;
    problem.code = Code::size;
    problem.offset = MAX_FEED_BYTES;
    // The first byte past the limit may be inside a character: the author is shown all of it,
    // and what was read past the limit.
    problem.span = marked({character_start(head, MAX_FEED_BYTES), head.size()});
    problem.text = escape_controls(feed_too_large_text(path, head.size()));
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
    return check_document(head, options, true).check;
}

std::vector<Problem> file_problems(std::string_view head, std::uint64_t file_length, std::string_view path,
                                   const CheckOptions& options) {
    if (head.size() > MAX_FEED_BYTES) return {oversize_problem(head, file_length, path)};
    return check_document(head, options, false).check.problems;
}

}  // namespace mt::lint
