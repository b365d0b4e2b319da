// The operating system's words for an error number, as every diagnostic quotes them.
#pragma once

#include <string>

namespace mt {

// "{description} (os error {code})".
std::string os_error_text(int code);

}  // namespace mt
