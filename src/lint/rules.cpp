#include "lint/rules.h"

#include <array>
#include <cstdint>

#include "common/digits.h"
#include "messages/messages.h"
#include "rule_codes.h"

namespace mt::lint {
namespace {

// One row per code, in the order of Code. `rule` is the feed rule the code reports, when it
// reports one; "{}" in a description stands for `limit`.
struct RuleRow {
    Code code;
    std::string_view name;
    std::string_view description;
    std::uint64_t limit = 0;
    bool from_rule = false;
    Rule rule = Rule::schema;
};

constexpr std::array<RuleRow, CODE_COUNT> RULES = {{
    {Code::json, "json", "документ не читается как лента: синтаксис JSON, ключи, типы и диапазоны значений"},
    {Code::size, "size", "файл больше {} КиБ", MAX_FEED_BYTES / 1024},
    {Code::schema, "schema", "неизвестная версия формата schema", 0, true, Rule::schema},
    {Code::revision, "revision", "revision отсутствует или меньше {}", MIN_REVISION, true, Rule::revision},
    {Code::count, "count", "больше {} сообщений", MAX_MESSAGES, true, Rule::count},
    {Code::id, "id", "id сообщения не из ASCII [A-Za-z0-9_-] длиной 1..{}", MAX_ID_BYTES, true, Rule::id},
    {Code::priority, "priority", "priority вне 0..{}", MAX_PRIORITY, true, Rule::priority},
    {Code::title_length, "title-length", "title длиннее {} символов", MAX_TITLE_CHARS, true, Rule::title_length},
    {Code::body_length, "body-length", "body длиннее {} символов", MAX_BODY_CHARS, true, Rule::body_length},
    {Code::empty_text, "empty-text", "title или body пуст после обрезки пробелов", 0, true, Rule::empty_text},
    {Code::control_character, "control-character", "управляющий символ в title или body", 0, true,
     Rule::control_character},
    {Code::time_window, "time-window", "end_at не позже start_at", 0, true, Rule::time_window},
    {Code::version, "version", "minVersion или maxVersion не версия вида 1.2.3", 0, true, Rule::version},
    {Code::version_order, "version-order", "minVersion больше maxVersion", 0, true, Rule::version_order},
    {Code::duplicate_id, "duplicate-id", "id уже есть у другого сообщения", 0, true, Rule::duplicate_id},
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

// Every feed rule is reported under exactly one code.
constexpr bool rules_have_codes() {
    for (int rule = 0; rule <= static_cast<int>(Rule::duplicate_id); ++rule) {
        int rows = 0;
        for (const RuleRow& row : RULES) rows += row.from_rule && row.rule == static_cast<Rule>(rule);
        if (rows != 1) return false;
    }
    return true;
}
static_assert(rules_have_codes());

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

Code code_of(Rule rule) {
    for (const RuleRow& row : RULES)
        if (row.from_rule && row.rule == rule) return row.code;
    return Code::json;  // not reached: rules_have_codes
}

}  // namespace mt::lint
