// Error values shared by every block.
//
// A failed operation returns `Error`: one human-readable text and nothing else. Only that
// text is ever shown, so a caller that adds context builds a new text rather than wrapping.
#pragma once

#include <expected>
#include <string>

namespace mt {

struct Error {
    std::string text;
    friend bool operator==(const Error&, const Error&) = default;
};

template <class T>
using Result = std::expected<T, Error>;

inline std::unexpected<Error> fail(std::string text) { return std::unexpected(Error{std::move(text)}); }

}  // namespace mt
