// What an editor writes beside a draft's values, so that an author reads them without counting:
// the date and time of every `start_at` and `end_at` that holds an integer standing for a date
// (in the author's zone
// or in UTC), and beside a title or body its length in characters against its limit when it is
// within ten of it or over it ("78/80"). From the draft's one tolerant reading
// (lint/draft_view.h): a draft that does not read yet gets them too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "lint/author_zone.h"
#include "lint/draft_view.h"

namespace mt::lint {

enum class HintKind : unsigned char { time, length };

struct InlayHint {
    HintKind kind = HintKind::time;
    std::size_t offset = 0;  // where it stands: just after the value
    std::string label;       // "2026-01-01 03:00 Europe/Moscow", "78/80"
    bool over = false;       // a length over its limit
};

// The hints of `document`, in document order, the times on the clock of `zone`.
std::vector<InlayHint> inlay_hints(const DraftView& draft, const AuthorZone& zone);

}  // namespace mt::lint
