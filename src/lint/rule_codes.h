// From the rule a feed rule failure names to the code the draft checker reports it under.
// Internal to the lint core.
#pragma once

#include "lint/rules.h"
#include "messages/messages.h"

namespace mt::lint {

Code code_of(Rule rule);

}  // namespace mt::lint
