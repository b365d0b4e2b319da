#include "params.h"

#include <algorithm>
#include <limits>

namespace mt::lsp {

using json = nlohmann::json;

namespace {

std::string_view wanted_text(Wanted wanted) {
    switch (wanted) {
        case Wanted::object:
            return "не объект";
        case Wanted::array:
            return "не массив";
        case Wanted::string:
            return "не строка";
        case Wanted::integer:
            return "не целое число";
        case Wanted::index:
            return "не целое неотрицательное число";
    }
    return "";
}

std::unexpected<ParamError> refused(const Field& field, Wanted wanted) {
    if (field.astray) return std::unexpected(*field.astray);
    return std::unexpected(ParamError{.path = field.path, .missing = !field.present(), .wanted = wanted});
}

// The step from `outer` into one of its values, where `outer` should have been a `wanted`.
Field step(const Field& outer, std::string path, Wanted wanted, const json* inner) {
    Field field{inner, std::move(path), outer.astray};
    if (!field.astray && outer.present() && !inner)
        if ((wanted == Wanted::object && !outer.value->is_object()) ||
            (wanted == Wanted::array && !outer.value->is_array()))
            field.astray = ParamError{.path = outer.path, .missing = false, .wanted = wanted};
    return field;
}

}  // namespace

std::string param_error_text(const ParamError& error) {
    const std::string path = error.path.empty() ? "params" : error.path;
    if (error.missing) return "нет поля " + path;
    return "поле " + path + " — " + std::string(wanted_text(error.wanted));
}

Field params_root(const json& params) { return Field{&params, "", std::nullopt}; }

Field Field::operator[](std::string_view key) const {
    const json* inner = nullptr;
    if (value && value->is_object())
        if (const auto it = value->find(key); it != value->end()) inner = &*it;
    return step(*this, path.empty() ? std::string(key) : path + "." + std::string(key), Wanted::object, inner);
}

Field Field::operator[](std::size_t index) const {
    const json* inner = value && value->is_array() && index < value->size() ? &(*value)[index] : nullptr;
    return step(*this, path + "[" + std::to_string(index) + "]", Wanted::array, inner);
}

std::expected<const json*, ParamError> as_array(const Field& field) {
    if (!field.present() || !field.value->is_array()) return refused(field, Wanted::array);
    return field.value;
}

std::expected<std::string, ParamError> as_string(const Field& field) {
    if (!field.present() || !field.value->is_string()) return refused(field, Wanted::string);
    return field.value->get_ref<const std::string&>();
}

std::expected<std::int64_t, ParamError> as_integer(const Field& field) {
    if (!field.present() || !field.value->is_number_integer()) return refused(field, Wanted::integer);
    if (field.value->is_number_unsigned() &&
        field.value->get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        return refused(field, Wanted::integer);
    return field.value->get<std::int64_t>();
}

std::expected<std::size_t, ParamError> as_index(const Field& field) {
    if (!field.present() || !field.value->is_number_integer()) return refused(field, Wanted::index);
    if (!field.value->is_number_unsigned() && field.value->get<std::int64_t>() < 0)
        return refused(field, Wanted::index);
    // A count past what this machine's offsets reach stands for the end, as any count past the end does.
    const std::uint64_t n = field.value->get<std::uint64_t>();
    return static_cast<std::size_t>(std::min<std::uint64_t>(n, std::numeric_limits<std::size_t>::max()));
}

}  // namespace mt::lsp
