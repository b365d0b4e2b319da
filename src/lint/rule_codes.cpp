#include "rule_codes.h"

namespace mt::lint {

std::string_view rule_code(Rule rule) {
    switch (rule) {
        case Rule::schema:
            return "schema";
        case Rule::revision:
            return "revision";
        case Rule::count:
            return "count";
        case Rule::id:
            return "id";
        case Rule::priority:
            return "priority";
        case Rule::title_length:
            return "title-length";
        case Rule::body_length:
            return "body-length";
        case Rule::empty_text:
            return "empty-text";
        case Rule::control_character:
            return "control-character";
        case Rule::time_window:
            return "time-window";
        case Rule::version:
            return "version";
        case Rule::version_order:
            return "version-order";
        case Rule::duplicate_id:
            return "duplicate-id";
    }
    return "rule";
}

}  // namespace mt::lint
