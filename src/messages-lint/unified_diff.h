// What `messages-lint --diff` prints for a file: the change between two versions of it as a
// unified diff (diff -u, three lines of context), so an author or a review tool sees exactly
// which lines a fix would change. Internal to the messages-lint front end.
#pragma once

#include <string>
#include <string_view>

namespace mt::lint {

// "--- a/PATH", "+++ b/PATH" and the hunks; "" when the two are the same. A last line without
// a line feed is marked "\ No newline at end of file", as diff does. Lines are compared as
// bytes, line feed included.
std::string unified_diff(std::string_view path, std::string_view before, std::string_view after);

}  // namespace mt::lint
