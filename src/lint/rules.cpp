#include "lint/rules.h"

#include <array>
#include <cstdint>

#include "common/digits.h"
#include "messages/messages.h"

namespace mt::lint {
namespace {

// One row per code, in the order of Code; "{}" in a description stands for `limit`.
struct RuleRow {
    Code code;
    std::string_view name;
    std::string_view description;
    std::uint64_t limit = 0;
};

constexpr std::array<RuleRow, CODE_COUNT> RULES = {{
    {Code::json, "json", "документ не читается как лента: синтаксис JSON, ключи, типы и диапазоны значений"},
    {Code::size, "size", "файл больше {} КиБ", MAX_FEED_BYTES / 1024},
    {Code::schema, "schema", "неизвестная версия формата schema"},
    {Code::revision, "revision", "revision отсутствует или меньше {}", MIN_REVISION},
    {Code::count, "count", "больше {} сообщений", MAX_MESSAGES},
    {Code::id, "id", "id сообщения не из ASCII [A-Za-z0-9_-] длиной 1..{}", MAX_ID_BYTES},
    {Code::priority, "priority", "priority вне 0..{}", MAX_PRIORITY},
    {Code::title_length, "title-length", "title длиннее {} символов", MAX_TITLE_CHARS},
    {Code::body_length, "body-length", "body длиннее {} символов", MAX_BODY_CHARS},
    {Code::empty_text, "empty-text", "title или body пуст после обрезки пробелов"},
    {Code::control_character, "control-character", "управляющий символ в title или body"},
    {Code::time_window, "time-window", "end_at не позже start_at"},
    {Code::version, "version", "minVersion или maxVersion не версия вида 1.2.3"},
    {Code::version_order, "version-order", "minVersion больше maxVersion"},
    {Code::duplicate_id, "duplicate-id", "id уже есть у другого сообщения"},
    {Code::milliseconds, "milliseconds", "время похоже на миллисекунды, а не секунды (предупреждение)"},
    {Code::invisible_text, "invisible-text", "title или body из одних невидимых символов (предупреждение)"},
    {Code::ended_window, "ended-window", "окно показа уже закончилось (предупреждение)"},
}};

constexpr bool rows_in_code_order() {
    for (std::size_t i = 0; i < RULES.size(); ++i)
        if (static_cast<std::size_t>(RULES[i].code) != i) return false;
    return true;
}
static_assert(rows_in_code_order());

constexpr std::array<Code, CODE_COUNT> ALL_CODES = [] {
    std::array<Code, CODE_COUNT> out{};
    for (std::size_t i = 0; i < CODE_COUNT; ++i) out[i] = RULES[i].code;
    return out;
}();

// Every feed rule has a code of its own, between the reading's and the warnings' (a rule added
// to the feed's without a code of its own would share the first warning's place); a rule moved
// moves its code, which rows_in_code_order refuses.
static_assert(code_of(Rule::duplicate_id) == static_cast<Code>(static_cast<unsigned char>(Code::milliseconds) - 1));

const RuleRow& row_of(Code code) { return RULES[static_cast<std::size_t>(code)]; }

}  // namespace

std::string_view code_name(Code code) { return row_of(code).name; }

std::string code_description(Code code) {
    const RuleRow& row = row_of(code);
    std::string out(row.description);
    if (const std::size_t at = out.find("{}"); at != std::string::npos) out.replace(at, 2, decimal(row.limit));
    return out;
}

std::span<const Code> all_codes() { return ALL_CODES; }

}  // namespace mt::lint
