// The stable codes by which reports name the rules ("title-length", "duplicate-id", ...).
// Internal to the lint core.
#pragma once

#include <span>
#include <string_view>

#include "messages/messages.h"

namespace mt::lint {

std::string_view rule_code(Rule rule);

// Every code a problem can carry, in a fixed order, with a short description for the reports
// that list the rules (SARIF).
struct RuleDescription {
    std::string_view code;
    std::string_view description;
};
std::span<const RuleDescription> all_rules();

}  // namespace mt::lint
