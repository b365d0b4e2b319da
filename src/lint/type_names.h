// The types the reader expects (u8, a string, struct Cta), told in plain words for authors.
// Internal to the lint core.
#pragma once

#include <string_view>

#include "messages/read_error.h"

namespace mt::lint {

// What a value of `type` must look like in the document, in Russian; empty for none.
std::string_view type_meaning(ValueType type);

}  // namespace mt::lint
