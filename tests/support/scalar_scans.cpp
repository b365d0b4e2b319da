#include "support/scalar_scans.h"

#include "common/utf8.h"
#include "messages/messages.h"

namespace mt::testing {

PlainRun plain_run_scalar(std::string_view bytes, std::size_t from) {
    const auto stops = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '\\'; };
    std::size_t at = from;
    while (at < bytes.size() && !stops(bytes[at])) ++at;
    // The stop byte is judged with the run: a character it cuts short is not well-formed.
    const std::size_t judged = at < bytes.size() ? at + 1 : at;
    return {at, is_valid_utf8(bytes.substr(from, judged - from))};
}

TextFacts examine_text_scalar(std::string_view text) {
    TextFacts facts;
    for (; !text.empty(); ++facts.chars) {
        const Character c = first_character(text);
        facts.has_control = facts.has_control || (c.valid && is_control_character(c.value));
        text.remove_prefix(c.length);
    }
    return facts;
}

}  // namespace mt::testing
