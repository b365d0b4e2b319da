// What a fix promises when applied alone, as an editor's quick fix applies it: it removes the
// problem it is offered for; and a safe one brings no error on the bytes it wrote. The
// problem is taken to be gone when no problem of its code stands where it stood, its place
// moved by the edits.
#pragma once

#include <string>
#include <string_view>

#include "lint/problems.h"

namespace mt::testing {

// "" when every fix offered for `document` (with `unsafe`, the suggestions too) keeps the promise,
// else the first that broke it and how.
std::string broken_fix(std::string_view document, const lint::CheckOptions& options, bool unsafe);

}  // namespace mt::testing
