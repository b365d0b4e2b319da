// What the draft's tolerant reading promises the strict reader: wherever the reader stops in
// JSON's syntax (or at the end of the document), the reading has recognised a mistake that stops
// the reader at that byte. A reader that stops where the reading took a whole value refused it by
// its type (`null` where a call to action's kind belongs); there the promise does not apply.
#pragma once

#include <string>
#include <string_view>

namespace mt::testing {

// "" when the promise holds for `document`, else what broke it.
std::string unrecognised_stop(std::string_view document);

}  // namespace mt::testing
