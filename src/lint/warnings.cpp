#include "warnings.h"

#include <algorithm>
#include <tuple>

#include "code_point.h"
#include "common/digits.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "common/white_space.h"
#include "invisible.h"
#include "locate.h"
#include "time_text.h"

namespace mt::lint {
namespace {

// Beyond MAX_DATED_SECONDS (10^11) in magnitude a time value is past the year 5138 in seconds,
// while every date after March 1973 is beyond it in milliseconds.
bool looks_like_milliseconds(std::int64_t value) { return value > MAX_DATED_SECONDS || value < -MAX_DATED_SECONDS; }

// Characters an invisible-text note names at most.
constexpr std::size_t NAMED_CHARACTERS = 5;

Problem warning(Code code, const FeedLocations& at, Subject subject, std::size_t index, const Message& message,
                std::string text, std::vector<std::string> notes) {
    const Span span = value_span(at, subject, index);
    Problem problem;
    problem.code = code;
    problem.span = marked_value(span);
    problem.offset = problem.span.begin;
    problem.message = index;
    problem.id = message.id;
    problem.text = escape_controls(text + " (id " + quoted_form(message.id) + ")");
    problem.notes = std::move(notes);
    problem.severity = Severity::warning;
    return problem;
}

std::string distinct_characters(std::string_view text) {
    std::vector<char32_t> seen;
    while (!text.empty()) {
        const Character c = first_character(text);
        if (std::ranges::find(seen, c.value) == seen.end()) seen.push_back(c.value);
        text.remove_prefix(c.length);
    }
    std::string out;
    for (std::size_t i = 0; i < seen.size() && i < NAMED_CHARACTERS; ++i)
        out += (i > 0 ? ", " : "") + code_point(seen[i]);
    if (seen.size() > NAMED_CHARACTERS) out += ", …";
    return out;
}

}  // namespace

std::vector<Problem> find_warnings(const Feed& feed, const FeedLocations& at, std::int64_t now) {
    std::vector<Problem> warnings;
    for (std::size_t i = 0; i < feed.messages.size(); ++i) {
        const Message& m = feed.messages[i];
        for (const auto& [name, value, subject] :
             {std::tuple{"start_at", m.start_at, Subject::start_at}, std::tuple{"end_at", m.end_at, Subject::end_at}}) {
            if (!looks_like_milliseconds(value)) continue;
            // The note and the suggestion give the same seconds: the milliseconds divided, any
            // remainder dropped.
            const std::string seconds = signed_decimal(value / 1000);
            const std::int64_t remainder = value % 1000;
            std::string note = "в секундах Unix это дальше 5138 года, в миллисекундах — " + utc_text(value / 1000) +
                               ", то есть " + seconds +
                               " в секундах (приложение само не приписывает полям времени единиц: это догадка)";
            Problem& problem = warnings.emplace_back(
                warning(Code::milliseconds, at, subject, i, m,
                        std::string(name) + " " + signed_decimal(value) + " похоже на миллисекунды, а не секунды",
                        {std::move(note)}));
            // Divided, the window must still open before it closes (the other time divided too,
            // if it looks like milliseconds as well): else the fix makes a rule fail, and the
            // author has to look at both times.
            const auto seconds_of = [](std::int64_t t) { return looks_like_milliseconds(t) ? t / 1000 : t; };
            if (looks_like_milliseconds(value / 1000)) continue;  // still beyond the dates, divided
            if (seconds_of(m.end_at) <= seconds_of(m.start_at)) {
                problem.notes.push_back(
                    "но тогда окно показа закончится не позже, чем начнётся: проверьте и start_at, "
                    "и end_at");
                continue;
            }
            problem.fix = Fix{.title = remainder == 0 ? "разделить на 1000 (миллисекунды в секунды): " + seconds
                                                      : "разделить на 1000, отбросив " + signed_decimal(remainder) +
                                                            " мс (миллисекунды в секунды): " + seconds,
                              .safe = false,
                              .edits = {{problem.offset, problem.span.end, seconds}}};
        }
        for (const auto& [name, text, subject] :
             {std::tuple{"title", &m.title, Subject::title}, std::tuple{"body", &m.body, Subject::body}}) {
            if (!is_all_invisible(*text) || trim_white_space(*text).empty()) continue;
            warnings.push_back(warning(Code::invisible_text, at, subject, i, m,
                                       std::string(name) + " состоит только из невидимых символов",
                                       {"в " + std::string(name) + " только " + distinct_characters(*text) +
                                        ": приложение покажет пустое место"}));
        }
        // An end in milliseconds has its own warning; read as seconds it would mislead here.
        if (m.end_at <= now && !looks_like_milliseconds(m.end_at))
            warnings.push_back(warning(Code::ended_window, at, Subject::end_at, i, m,
                                       "окно показа уже закончилось, если считать end_at секундами Unix",
                                       {"end_at " + signed_decimal(m.end_at) + " — это " + utc_text(m.end_at) +
                                        ", а сейчас " + utc_text(now) + " (" + signed_decimal(now) + ")"}));
    }
    return warnings;
}

}  // namespace mt::lint
