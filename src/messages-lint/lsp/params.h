// Reading a message's parameters without exceptions: a field is looked up by key or index from
// the parameters down, and taken as the type the protocol gives it, or refused with the path to
// it and what was wanted, so "wrong params" is an ordinary value in every build (the
// WebAssembly one has no exceptions to catch). Nothing here copies a client's value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace mt::lsp {

// What a field should have been.
enum class Wanted { object, array, string, integer, index };

// Why the parameters are wrong: the field's path ("textDocument.uri", "contentChanges[1].text")
// and either that it is missing or that it is not what was wanted.
struct ParamError {
    std::string path;
    bool missing = false;
    Wanted wanted = Wanted::object;
};

// "нет поля textDocument.uri", "поле range.start.line — не целое неотрицательное число".
std::string param_error_text(const ParamError& error);

// A place in the parameters: the value there, or null when a step on the way is missing, with
// the path that names it. A step into a value that is no object (or, by index, no array) is
// remembered, so the error names that value rather than the field beyond it.
struct Field {
    const nlohmann::json* value = nullptr;
    std::string path;
    std::optional<ParamError> astray;

    bool present() const { return value != nullptr && !value->is_null(); }
    Field operator[](std::string_view key) const;
    Field operator[](std::size_t index) const;
};

Field params_root(const nlohmann::json& params);

std::expected<const nlohmann::json*, ParamError> as_array(const Field& field);
std::expected<std::string, ParamError> as_string(const Field& field);
std::expected<std::int64_t, ParamError> as_integer(const Field& field);
// A non-negative integer that counts something (a line, a character).
std::expected<std::size_t, ParamError> as_index(const Field& field);

}  // namespace mt::lsp
