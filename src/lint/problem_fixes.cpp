#include "problem_fixes.h"

#include "draft_reading.h"
#include "value_fixes.h"

namespace mt::lint {

std::optional<Fix> reading_fix(std::string_view document, const DraftReading& reading, const ReadError& error,
                               const Diagnosis* mistake, const AuthorZone& zone) {
    const ReadErrorKind kind = error.kind();
    if (kind == ReadErrorKind::syntax || kind == ReadErrorKind::invalid_string ||
        (kind == ReadErrorKind::end_of_input && mistake))
        return mistake ? mistake->fix : std::nullopt;
    return key_or_value_fix(document, reading, error, zone);
}

std::optional<Fix> value_fix(std::string_view document, const Problem& problem) {
    switch (problem.code) {
        case Code::version:
            return version_fix(document, problem.at.offset, problem.at.end);
        default:
            return std::nullopt;
    }
}

}  // namespace mt::lint
