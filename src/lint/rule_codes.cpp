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

std::span<const RuleDescription> all_rules() {
    static constexpr RuleDescription RULES[] = {
        {"json", "документ не читается как лента: синтаксис JSON, ключи, типы и диапазоны значений"},
        {"size", "файл больше 64 КиБ"},
        {"schema", "неизвестная версия формата schema"},
        {"revision", "revision отсутствует или меньше 1"},
        {"count", "больше 50 сообщений"},
        {"id", "id сообщения не из ASCII [A-Za-z0-9_-] длиной 1..64"},
        {"priority", "priority вне 0..2"},
        {"title-length", "title длиннее 80 символов"},
        {"body-length", "body длиннее 800 символов"},
        {"empty-text", "title или body пуст после обрезки пробелов"},
        {"control-character", "управляющий символ в title или body"},
        {"time-window", "end_at не позже start_at"},
        {"version", "minVersion или maxVersion не версия вида 1.2.3"},
        {"version-order", "minVersion больше maxVersion"},
        {"duplicate-id", "id уже есть у другого сообщения"},
        {"milliseconds", "время похоже на миллисекунды, а не секунды (предупреждение)"},
        {"invisible-text", "title или body из одних невидимых символов (предупреждение)"},
        {"ended-window", "окно показа уже закончилось (предупреждение)"},
    };
    return RULES;
}

}  // namespace mt::lint
