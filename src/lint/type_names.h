// The reader's names of the types it expects ("u8", "struct Cta", "a sequence"), told in plain
// words for authors. Internal to the lint core.
#pragma once

#include <optional>
#include <string_view>

namespace mt::lint {

// What a value of the type the reader names must look like in the document, in Russian; none
// for a name the reader does not use.
std::optional<std::string_view> type_meaning(std::string_view reader_name);

// Whether the reader's name is that of an integer type (a fraction or an exponent never is one).
bool is_integer_type(std::string_view reader_name);

}  // namespace mt::lint
