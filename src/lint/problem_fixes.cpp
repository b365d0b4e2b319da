#include "problem_fixes.h"

#include "draft_reading.h"
#include "value_fixes.h"

namespace mt::lint {

std::optional<Fix> reading_fix(std::string_view document, const DraftReading& reading, const ReadError& error) {
    if (error.kind() == ReadErrorKind::syntax || error.kind() == ReadErrorKind::invalid_string) {
        // The byte the reader stopped at: the one it took last, or the first that is not UTF-8.
        const std::size_t stop = error.kind() == ReadErrorKind::invalid_string ? error.invalid_byte_offset
                                 : error.offset > 0                            ? error.offset - 1
                                                                               : 0;
        const bool not_utf8 = error.kind() == ReadErrorKind::invalid_string;
        const std::vector<Repair> recoding = not_utf8 ? encoding_repairs(document) : std::vector<Repair>{};
        const std::vector<Repair>& repairs = not_utf8 ? recoding : reading.repairs;
        for (const Repair& repair : repairs)
            if (stop >= repair.stop && stop <= repair.stop_last) return repair.fix;
        return std::nullopt;
    }
    return key_or_value_fix(document, reading, error);
}

std::optional<Fix> value_fix(std::string_view document, const Problem& problem) {
    switch (problem.code) {
        case Code::version:
            return version_fix(document, problem.at.offset, problem.at.end);
        case Code::milliseconds:
            return milliseconds_fix(document, problem.at.offset);
        default:
            return std::nullopt;
    }
}

}  // namespace mt::lint
