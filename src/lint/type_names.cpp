#include "type_names.h"

#include <array>
#include <utility>

namespace mt::lint {
namespace {

constexpr std::string_view TEXT = "строка в двойных кавычках: \"…\"";
constexpr std::string_view VERSION = "строка из трёх чисел через точку, например \"2.1.0\", или null";
constexpr std::string_view TIME =
    "целое число секунд Unix без кавычек, например 1767225600 (это 2026-01-01 00:00:00 UTC)";

constexpr std::array<std::pair<std::string_view, std::string_view>, 12> FIELDS = {{
    {"schema", "число 1 без кавычек"},
    {"revision", "целое число не меньше 1 без кавычек"},
    {"messages", "массив сообщений: [{…}, {…}]"},
    {"id", TEXT},
    {"priority", "целое число 0, 1 или 2 без кавычек"},
    {"title", TEXT},
    {"body", TEXT},
    {"start_at", TIME},
    {"end_at", TIME},
    {"cta", "объект {\"kind\": …} или null"},
    {"minVersion", VERSION},
    {"maxVersion", VERSION},
}};

}  // namespace

std::string_view type_meaning(ValueType type) {
    switch (type) {
        case ValueType::none:
            return {};
        case ValueType::u8:
            return "целое число от 0 до 255";
        case ValueType::u32:
            return "целое число от 0 до 4294967295";
        case ValueType::u64:
            return "целое число от 0 до 18446744073709551615";
        case ValueType::i64:
            return "целое число от -9223372036854775808 до 9223372036854775807";
        case ValueType::string:
            return "строка в двойных кавычках: \"…\"";
        case ValueType::sequence:
            return "массив: […]";
        case ValueType::unit:
            return "null";
        case ValueType::cta:
            return "объект {\"kind\": …}";
        case ValueType::message:
            return "объект сообщения {\"id\": …, \"priority\": …, \"title\": …, \"body\": …, \"start_at\": …, "
                   "\"end_at\": …}";
        case ValueType::feed:
            return "объект ленты {\"schema\": 1, \"revision\": …, \"messages\": […]}";
    }
    return {};
}

std::optional<std::string_view> field_meaning(std::string_view key) {
    for (const auto& [field, meaning] : FIELDS)
        if (field == key) return meaning;
    return std::nullopt;
}

}  // namespace mt::lint
