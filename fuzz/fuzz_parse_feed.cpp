// The JSON reader on raw bytes: never crashes, never reads past the input, and every error is
// one line ending in its position.
#include <cstdint>

#include "invariants.h"
#include "messages/messages.h"

using namespace mt::fuzz;

namespace {

bool ends_with_position(std::string_view text) {
    const std::size_t at = text.rfind(" at line ");
    if (at == std::string_view::npos) return false;
    const std::string_view tail = text.substr(at + 9);
    const std::size_t column = tail.find(" column ");
    if (column == 0 || column == std::string_view::npos) return false;
    const auto digits = [](std::string_view s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    return digits(tail.substr(0, column)) && digits(tail.substr(column + 8));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view document = as_text(data, size);
    const auto feed = mt::parse_feed(document);
    if (!feed) {
        const std::string text = feed.error().text();
        require(is_one_line(text), "parse error is one line", text);
        require(ends_with_position(text), "parse error ends with its position", text);
        return 0;
    }
    const auto again = mt::parse_feed(document);
    require(again.has_value() && *again == *feed, "reading is deterministic");
    return 0;
}
