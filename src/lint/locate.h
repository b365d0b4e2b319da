// The extent of what a problem is about. Internal to the lint core.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "lint/problems.h"

namespace mt::lint {

// [begin, end) of what a problem marks, an end before its begin moved to it.
inline Span marked(Span span) { return {span.begin, std::max(span.begin, span.end)}; }

// What a problem about the value the reader recorded at `span` marks: the document's start when
// it recorded none.
inline Span marked_value(Span span) {
    const std::size_t begin = span.begin == NO_OFFSET ? 0 : span.begin;
    return marked({begin, span.end == NO_OFFSET ? begin : span.end});
}

// For an offset just after a line feed, the end of the line before, as editors show it: its
// carriage return when it ends in CR LF, else its line feed. Any other offset as it is.
std::size_t end_of_line_before(std::string_view bytes, std::size_t offset);

// The end of the token that begins at `offset`: a run of letters, digits, `_`, `-`, `+` and
// `.` (a bare word or number), else one character (a byte that begins no valid character
// counting one); `offset` itself at the end of the bytes.
std::size_t token_end(std::string_view bytes, std::size_t offset);

}  // namespace mt::lint
