// Suggesting the name an author meant: the nearest of the allowed names to a misspelt one.
// Internal to the lint core.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace mt::lint {

// The name among `names` nearest to `unknown`, when it differs by case only or by at most a
// third of its letters (one or two edits, a swap of two neighbours counting one), or the key an
// author coming from another format calls so (`type` for `kind`).
std::optional<std::string_view> nearest_key(std::string_view unknown, std::span<const std::string_view> names);

}  // namespace mt::lint
