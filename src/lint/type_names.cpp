#include "type_names.h"

#include <array>
#include <utility>

namespace mt::lint {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 10> MEANINGS = {{
    {"u8", "целое число от 0 до 255"},
    {"u32", "целое число от 0 до 4294967295"},
    {"u64", "целое число от 0 до 18446744073709551615"},
    {"i64", "целое число от -9223372036854775808 до 9223372036854775807"},
    {"a string", "строка в двойных кавычках: \"…\""},
    {"a sequence", "массив: […]"},
    {"unit", "null"},
    {"struct Cta", "объект {\"kind\": …}"},
    {"struct Message",
     "объект сообщения {\"id\": …, \"priority\": …, \"title\": …, \"body\": …, \"start_at\": …, "
     "\"end_at\": …}"},
    {"struct Feed", "объект ленты {\"schema\": 1, \"revision\": …, \"messages\": […]}"},
}};

}  // namespace

std::optional<std::string_view> type_meaning(std::string_view reader_name) {
    for (const auto& [name, meaning] : MEANINGS)
        if (name == reader_name) return meaning;
    return std::nullopt;
}

bool is_integer_type(std::string_view reader_name) {
    return reader_name == "u8" || reader_name == "u32" || reader_name == "u64" || reader_name == "i64";
}

}  // namespace mt::lint
