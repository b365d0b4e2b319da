#include "common/os_error.h"

#include <cstring>

#include "common/digits.h"

namespace mt {

std::string os_error_text(int code) { return std::string(std::strerror(code)) + " (os error " + decimal(code) + ")"; }

}  // namespace mt
