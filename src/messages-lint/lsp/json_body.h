// A message body as JSON. The protocol's JSON comes from editors whose strings are UTF-16, where
// a lone surrogate is a character like any other, and JSON lets it be written as an escape
// ("\ud83d"). The JSON library refuses such a body whole, and an editor's change would then be
// lost while its copy of the document went on; so each lone surrogate is read as U+FFFD, which
// is one UTF-16 unit and one code point too, and every position after it stays the same.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace mt::lsp {

// The body read as JSON, or a discarded value when it is no JSON.
nlohmann::json read_body(std::string_view body);

// The body with the escape of each lone surrogate written as \uFFFD; none when it has none.
std::optional<std::string> without_lone_surrogates(std::string_view body);

}  // namespace mt::lsp
