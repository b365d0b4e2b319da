#include "problem_fixes.h"

#include "draft_reading.h"
#include "value_fixes.h"

namespace mt::lint {

std::optional<Fix> reading_fix(std::string_view document, const DraftReading& reading, const ReadError& error,
                               const Diagnosis* mistake) {
    if (error.kind() == ReadErrorKind::syntax || (error.kind() == ReadErrorKind::end_of_input && mistake))
        return mistake ? mistake->fix : std::nullopt;
    if (error.kind() == ReadErrorKind::invalid_string) {
        for (const Diagnosis& recoding : encoding_repairs(document))
            if (recoding.stops_at(error.invalid_byte_offset)) return recoding.fix;
        return std::nullopt;
    }
    return key_or_value_fix(document, reading, error);
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
