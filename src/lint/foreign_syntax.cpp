#include "foreign_syntax.h"

#include "code_point.h"
#include "common/utf8.h"
#include "editor_steps.h"
#include "typographic_quotes.h"

namespace mt::lint {
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
    if (c.valid && is_typographic_quote(c.value))
        return "здесь типографская кавычка `" + std::string(rest.substr(0, c.length)) + "` (" + code_point(c.value) +
               "): в JSON строки и ключи заключаются только в прямые двойные кавычки ASCII `\"`; " +
               std::string(SMART_QUOTES_OFF);
    return std::nullopt;
}

}  // namespace mt::lint
