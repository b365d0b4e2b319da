#include "support/reading_stop.h"

#include <algorithm>

#include "lint/diagnosis.h"
#include "messages/reading.h"

namespace mt::testing {

std::string unrecognised_stop(std::string_view document) {
    const auto feed = parse_feed(document);
    if (feed) return "";
    const ReadError& error = feed.error();
    if (error.kind() != ReadErrorKind::syntax && error.kind() != ReadErrorKind::end_of_input) return "";
    // The byte the reader took last.
    const std::size_t stop = error.offset > 0 ? error.offset - 1 : 0;
    const std::vector<lint::Diagnosis> mistakes = lint::diagnose_draft(document);
    if (std::ranges::any_of(mistakes, [&](const lint::Diagnosis& d) { return d.stops_at(stop); })) return "";
    if (std::ranges::none_of(mistakes, [&](const lint::Diagnosis& d) { return d.stop <= stop; })) return "";
    return "the reading recognises no mistake at byte " + std::to_string(stop) +
           ", where the reader stops: " + error.text();
}

}  // namespace mt::testing
