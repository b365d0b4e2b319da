#include "type_names.h"

namespace mt::lint {

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

}  // namespace mt::lint
