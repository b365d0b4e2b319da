// The rules the draft checker reports, each written once: its code, the stable name reports
// print ("title-length"), and a short description for the reports that list the rules (SARIF).
// The order of `Code` is the order of the list, so a rule's index in a SARIF log is its code.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "messages/rules.h"

namespace mt::lint {

// The feed rules' codes are the rules themselves, in the rules' order, after the two codes of a
// document that is not read; the warnings follow them. A code's place is its index in a SARIF
// log, so the places are fixed (rules.cpp checks them against the names).
inline constexpr unsigned char FIRST_RULE_CODE = 2;

constexpr unsigned char rule_code(Rule rule) {
    return static_cast<unsigned char>(FIRST_RULE_CODE + static_cast<unsigned char>(rule));
}

enum class Code : unsigned char {
    json,  // the document does not read
    size,  // the file is over the limit
    schema = rule_code(Rule::schema),
    revision = rule_code(Rule::revision),
    count = rule_code(Rule::count),
    id = rule_code(Rule::id),
    priority = rule_code(Rule::priority),
    title_length = rule_code(Rule::title_length),
    body_length = rule_code(Rule::body_length),
    empty_text = rule_code(Rule::empty_text),
    control_character = rule_code(Rule::control_character),
    time_window = rule_code(Rule::time_window),
    version = rule_code(Rule::version),
    version_order = rule_code(Rule::version_order),
    duplicate_id = rule_code(Rule::duplicate_id),
    // warnings
    milliseconds,
    invisible_text,
    ended_window,
};

// The code a feed rule's failure is reported under.
constexpr Code code_of(Rule rule) { return static_cast<Code>(rule_code(rule)); }

inline constexpr std::size_t CODE_COUNT = static_cast<std::size_t>(Code::ended_window) + 1;

// "title-length".
std::string_view code_name(Code code);

// "title длиннее 80 символов": the limits come from the constants of the rules.
std::string code_description(Code code);

// Every code, in order.
std::span<const Code> all_codes();

}  // namespace mt::lint
