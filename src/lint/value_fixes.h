// The repairs of keys and values the feed does not take, as the reader or a rule reports
// them: an unknown key (the nearest known one, a suggestion), the `$schema` key of editors
// (removed), a time written as a date or a number in quotation marks (its value, a suggestion),
// a version of one or two parts (completed with zeros, a suggestion). (A time in milliseconds
// gets its suggestion with its warning, warnings.cpp.) Internal to the lint core.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "draft_reading.h"
#include "lint/author_zone.h"
#include "lint/fix.h"
#include "messages/read_error.h"

namespace mt::lint {

// For an unknown field or kind, a value of another type than an integer field's; `reading`
// reaches the value the error is about (past the member of a `$schema` key).
// A date for a time is read in `zone` when it names none.
std::optional<Fix> key_or_value_fix(std::string_view document, const DraftReading& reading, const ReadError& error,
                                    const AuthorZone& zone);

// For a number with a fraction or an exponent where an integer belongs (`error` the reader's
// type or range error about it): the integer it equals, when it equals one (`31.0` is `31`).
// What the note on it says to write and its fix writes.
std::optional<std::string> integral_value(std::string_view document, const ReadError& error);

// The call to action a kind's name written alone stands for, `{"kind": "open_license"}`, when
// `text` is one of the kinds' names. What the note on it says to write and its fix writes.
std::optional<std::string> cta_for_kind(std::string_view text);

// The version an author meant by `text`, a version the rule refuses, when that follows from it:
// without a `v` before it or spaces around it, a comma taken for a dot, leading zeros dropped,
// completed with zeros to three numbers ("v2.1" is "2.1.0"). What the note on it says to write
// and its fix writes. None when it does not follow, or `text` is already three numbers.
std::optional<std::string> version_meant(std::string_view text);

// For the version string [at, end) of a document that reads, as the reader spans it.
std::optional<Fix> version_fix(std::string_view document, std::size_t at, std::size_t end);

}  // namespace mt::lint
