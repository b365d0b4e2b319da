// What a value must look like in the document, told in plain words for authors: by the field it
// belongs to where that is known, else by the reader's name of the type it expects ("u8",
// "struct Cta", "a sequence"), which authors do not read. Internal to the lint core.
#pragma once

#include <optional>
#include <string_view>

namespace mt::lint {

// What a value of the type the reader names must look like, in Russian ("целое число от 0 до
// 255"); none for a name the reader does not use.
std::optional<std::string_view> type_meaning(std::string_view reader_name);

// What the value of the feed's field `key` must look like, in Russian ("целое число секунд Unix
// без кавычек, …"); none for a key that is no field.
std::optional<std::string_view> field_meaning(std::string_view key);

// Whether the reader's name is that of an integer type (a fraction or an exponent never is one).
bool is_integer_type(std::string_view reader_name);

}  // namespace mt::lint
