#include "foreign_syntax.h"

#include <algorithm>
#include <array>

#include "code_point.h"
#include "common/utf8.h"
#include "editor_steps.h"

namespace mt::lint {
namespace {

// Quotation marks of typesetting and of word processors' automatic replacement.
constexpr std::array<char32_t, 14> TYPOGRAPHIC_QUOTES = {
    U'\u201C', U'\u201D', U'\u201E', U'\u201F', U'\u00AB', U'\u00BB', U'\u2018',
    U'\u2019', U'\u201A', U'\u201B', U'\u2039', U'\u203A', U'\uFF02', U'\u2033',
};

}  // namespace

std::optional<std::string> foreign_syntax_note(std::string_view bytes, std::size_t at) {
    if (at >= bytes.size()) return std::nullopt;
    const std::string_view rest = bytes.substr(at);
    if (rest.starts_with("//") || rest.starts_with("/*"))
        return "здесь комментарий `" + std::string(rest.substr(0, 2)) + "`: в JSON комментариев нет, удалите его";
    if (rest.front() == '\'')
        return std::string(
            "здесь одинарная кавычка `'`: в JSON строки и ключи заключаются только в прямые двойные "
            "кавычки ASCII `\"`");
    const Character c = first_character(rest);
    if (c.valid && std::ranges::find(TYPOGRAPHIC_QUOTES, c.value) != TYPOGRAPHIC_QUOTES.end())
        return "здесь типографская кавычка `" + std::string(rest.substr(0, c.length)) + "` (" + code_point(c.value) +
               "): в JSON строки и ключи заключаются только в прямые двойные кавычки ASCII `\"`; " +
               std::string(SMART_QUOTES_OFF);
    return std::nullopt;
}

}  // namespace mt::lint
