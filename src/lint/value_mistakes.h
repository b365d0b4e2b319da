// A key or value the feed does not take, as one value: what the author is pointed at, the notes
// and the repair, made side by side from one look at the bytes (the nearest key is looked for
// once, a date read once). The reader reports unknown keys and values of the wrong type; the
// rules report versions that are not three numbers and texts longer than they look. Internal
// to the lint core.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draft_reading.h"
#include "lint/author_zone.h"
#include "lint/diagnosis.h"
#include "lint/fix.h"
#include "messages/read_error.h"
#include "messages/reading.h"

namespace mt::lint {

// What is wrong with a key or value: the whole string, where the notes are about all of it; the
// notes; and the repair, where one is certain or probable (a suggestion but for `$schema`).
struct ValueDiagnosis {
    std::optional<Span> shown;       // the whole string, where the notes are about all of it
    std::vector<std::string> notes;  // in Russian, in the order shown
    std::optional<Fix> fix;
};

// For the reader's error `error` about a key or value of `document` (any other error has none):
// `reading` reaches the value (past a `$schema` member); a date without a zone is read in `zone`.
ValueDiagnosis diagnose_read_value(std::string_view document, const DraftReading& reading, const ReadError& error,
                                   const AuthorZone& zone);

// For the version field `field` whose string value `text` the rule refuses, written at `at`.
ValueDiagnosis diagnose_version(std::string_view document, std::string_view field, std::string_view text, Span at);

// For a title or body over its limit that holds code points an author does not see as characters
// of their own (the parts of a joined emoji, modifiers, combining marks): that characters are
// counted as code points, and how many of those there are. None when there are none.
std::optional<std::string> code_points_note(std::string_view text);

}  // namespace mt::lint
