// The stable codes by which reports name the rules ("title-length", "duplicate-id", ...).
// Internal to the lint core.
#pragma once

#include <string_view>

#include "messages/messages.h"

namespace mt::lint {

std::string_view rule_code(Rule rule);

}  // namespace mt::lint
