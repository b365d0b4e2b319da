// What authors bring to JSON from other writing: typographic quotation marks, single quotation
// marks and comments. Internal to the lint core.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mt::lint {

// A note on what stands at `at` in `bytes` when it is one of those, in Russian; none for
// anything else.
std::optional<std::string> foreign_syntax_note(std::string_view bytes, std::size_t at);

}  // namespace mt::lint
