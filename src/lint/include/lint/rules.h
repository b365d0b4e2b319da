// The rules the draft checker reports, each written once: its code, the stable name reports
// print ("title-length"), and a short description for the reports that list the rules (SARIF).
// The order of `Code` is the order of the list, so a rule's index in a SARIF log is its code.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace mt::lint {

enum class Code : unsigned char {
    json,  // the document does not read
    size,  // the file is over the limit
    schema,
    revision,
    count,
    id,
    priority,
    title_length,
    body_length,
    empty_text,
    control_character,
    time_window,
    version,
    version_order,
    duplicate_id,
    // warnings
    milliseconds,
    invisible_text,
    ended_window,
};

inline constexpr std::size_t CODE_COUNT = static_cast<std::size_t>(Code::ended_window) + 1;

// "title-length".
std::string_view code_name(Code code);

// "title длиннее 80 символов": the limits come from the constants of the rules.
std::string code_description(Code code);

// Every code, in order.
std::span<const Code> all_codes();

}  // namespace mt::lint
