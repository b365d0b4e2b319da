// The check of a draft with the mistakes its reading found, from one reading: for fixing, which
// needs both after every round. Internal to the lint core.
#pragma once

#include <string_view>
#include <vector>

#include "lint/diagnosis.h"
#include "lint/problems.h"

namespace mt::lint {

struct DraftCheck {
    Check check;
    std::vector<Diagnosis> mistakes;  // of a draft that does not read; none when it reads
};

// check_file's problems of a document within the limit (no summaries), and its draft's mistakes.
DraftCheck check_draft(std::string_view document, const CheckOptions& options);

}  // namespace mt::lint
