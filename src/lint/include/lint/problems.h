// The problems of one feed document, as the draft checker reports them. For a document that reads,
// every failing feed rule and then every failing rule of every message, in the order feed
// acceptance applies them. For one that does not, the reading error, then what is found past it
// (each marked so): every later mistake of its JSON, and the failing message rules of every
// message that reads on its own. The first problem's text is exactly the text feed acceptance
// gives the same bytes after a good signature; the other problems, their locations and their
// notes never change that verdict.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lint/author_zone.h"
#include "lint/fix.h"
#include "lint/rules.h"
#include "lint/message_summary.h"
#include "messages/reading.h"

namespace mt::lint {

// An error is part of the verdict; a warning never is (it changes neither the verdict nor the
// exit status).
enum class Severity { error, warning };

struct Problem {
    Code code = Code::json;  // reports print code_name(code): "json", "size", "title-length", ...
    // The byte the problem is about as the reader or the rule gives it (the json report's
    // byte_offset).
    std::size_t offset = 0;
    // What the problem is about, where the author is pointed and the reports put their caret:
    // a whole string for a length or content rule, the key for an unknown or repeated key, the
    // token for a syntax error. It begins at `offset` unless an author is better pointed at
    // another byte: the end of the line before for a reading error just after a line feed, the
    // first byte that is not UTF-8, the start of a message that lacks a field. Never empty before
    // its begin (end >= begin). Lines and columns are counted from it where it is shown
    // (lint/line_index.h).
    Span span = {0, 0};
    std::optional<std::size_t> message;  // index of the message it is about
    std::optional<std::string> id;       // that message's id
    std::string text;                    // as the checking tool prints it: acceptance's words, escaped
                                         // where they would break the line or drive a terminal
    std::vector<std::string> notes;      // in Russian, never part of the verdict; printable
    Severity severity = Severity::error;
    std::optional<Span> related;  // the first occurrence, for a repeated id or key
    std::optional<Fix> fix;           // how to repair it, where that is certain or probable
    // Found past the first error of a document that does not read, where the application has
    // already stopped: a later mistake of its JSON, or a rule a message that reads on its own
    // fails. The first problem of a check never is.
    bool after_first_error = false;
};

// The words before such a problem's text where it is listed: "после первой ошибки: …".
inline constexpr std::string_view AFTER_FIRST_ERROR = "после первой ошибки";

// How a check runs: the time a window that has already ended is judged against, in
// Unix seconds (the command line's --now, or the system clock), whether warnings are wanted,
// and the author's time zone.
struct CheckOptions {
    std::int64_t now = 0;
    bool warnings = true;  // whether to look for warnings at all (--no-warnings)
    AuthorZone zone;       // where a date written without a zone is read
};

// Every problem of a document that is within the size limit, in the order described above; the
// warnings come after every error, message by message (none when `warnings` is off).
std::vector<Problem> find_problems(std::string_view document, const CheckOptions& options = {});

// The one problem of a file of which more than the limit was read: the checking tool's own
// line for it, located at the first byte past the limit. `file_length` is the file's whole
// length as far as it is known (its metadata; never read past the cap).
Problem oversize_problem(std::string_view head, std::uint64_t file_length, std::string_view path);

// What one pass over a file gives every front end: its problems, and a summary of each message
// that reads (every message, when the document reads).
struct Check {
    std::vector<Problem> problems;
    std::vector<MessageSummary> messages;
};

// The check of a file of which `head` was read through the cap of one byte past the limit:
// the size problem when it holds more than the limit, else every problem of the document and
// its messages. What every front end calls, so they all draw the line at the same byte.
Check check_file(std::string_view head, std::uint64_t file_length, std::string_view path, const CheckOptions& options);

// check_file's problems alone, for a front end that shows no summaries (the command line):
// the same problems, without the cost of summarising every message.
std::vector<Problem> file_problems(std::string_view head, std::uint64_t file_length, std::string_view path,
                                   const CheckOptions& options);

}  // namespace mt::lint
