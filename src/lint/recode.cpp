#include "lint/recode.h"

#include "common/utf8.h"
#include "windows_1251.h"

namespace mt::lint {
namespace {

bool is_cyrillic_letter(char32_t c) { return c >= 0x0400 && c <= 0x04FF; }

// Whether two Cyrillic letters written in UTF-8 stand side by side somewhere in `bytes`.
bool has_utf8_cyrillic_word(std::string_view bytes) {
    bool previous = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const Character c = first_character(bytes.substr(i));
        const bool letter = c.valid && c.length == 2 && is_cyrillic_letter(c.value);
        if (letter && previous) return true;
        previous = letter;
        i += c.length;
    }
    return false;
}

}  // namespace

std::optional<std::string> decode_windows_1251(std::string_view bytes) {
    if (is_valid_utf8(bytes) || has_utf8_cyrillic_word(bytes)) return std::nullopt;
    return cyrillic_in_windows_1251(bytes, 0);
}

}  // namespace mt::lint
