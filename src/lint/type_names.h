// The types the reader expects (u8, a string, struct Cta), told in plain words for authors.
// Internal to the lint core.
#pragma once

#include <optional>
#include <string_view>

#include "messages/read_error.h"

namespace mt::lint {

// What a value of `type` must look like in the document, in Russian; empty for none.
std::string_view type_meaning(ValueType type);

// What the value of the feed's field `key` must look like, in Russian ("целое число секунд Unix
// без кавычек, …"); none for a key that is no field. Authors read these, not the type names.
std::optional<std::string_view> field_meaning(std::string_view key);

}  // namespace mt::lint
