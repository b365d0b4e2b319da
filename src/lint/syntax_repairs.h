// The certain repairs of what authors bring to JSON from other writing: a byte-order mark, a
// file in Windows-1251, typographic or single quotation marks around a string, comments, a
// comma too many before `}` or `]` or one missing between two members or two records, white
// space that JSON does not allow between tokens, a raw line break or tab inside a string.
//
// One scan of the whole document follows its JSON grammar and repairs every such mistake it
// meets, up to the first one it cannot repair; a document that is valid JSON gets none. Each
// repair says where the reader stops for its mistake, so the problem of a document that does
// not read can carry the repair of exactly what stopped the reader. Internal to the lint core.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "lint/fix.h"
#include "messages/read_error.h"

namespace mt::lint {

struct Repair {
    // The reader stops for this mistake at a byte from `stop` to `stop_last` (the same byte but
    // for a string closed by a typographic mark, where the reader misreads on to a later byte).
    std::size_t stop = 0;
    std::size_t stop_last = 0;
    Fix fix;  // always safe
};

// Every repair of `document`, in the order of their mistakes; their edits never overlap. When
// the reader found bytes that are not UTF-8 (`not_utf8`), the repair is the re-encoding of a
// file in Windows-1251, if it is one, and nothing else until it is made; otherwise the bytes
// are not looked at as UTF-8 at all (the reader has already judged them, and faster).
// With `until`, the scan ends at the first token past that byte, for the repair of the one
// mistake the reader stopped at.
std::vector<Repair> syntax_repairs(std::string_view document, bool not_utf8 = false, std::size_t until = NO_OFFSET);

}  // namespace mt::lint
