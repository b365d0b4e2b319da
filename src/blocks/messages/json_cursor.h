// A forward-only cursor over the bytes of one JSON document: whitespace, literals, strings and
// numbers, and the error values of the feed reader with their positions.
//
// The cursor never reads past the end of its bytes and never allocates per byte. Positions are
// byte offsets; they become "at line {l} column {c}" only when an error is made, so reading
// pays nothing for them. Every error function returns a ready `std::unexpected` so that a
// reader can `return cur.error(...)` from any `Result<T>`.
//
// Internal to the messages block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

#include "common/error.h"

namespace mt::json {

// What `peek` returns at the end of the input.
inline constexpr int END = -1;

// A JSON number as the reader classifies it: integers that fit 64 bits keep their exact value;
// fractions, exponents, `-0` and integers beyond 64 bits are floating point.
struct Number {
    enum class Kind { unsigned_integer, negative_integer, floating };
    Kind kind = Kind::unsigned_integer;
    std::uint64_t magnitude = 0;  // unsigned_integer: the value; negative_integer: minus the value
    double value = 0.0;           // floating
};

// "integer `{n}`" or "floating point `{f}`": how a number is named in an invalid-type or
// invalid-value text.
std::string describe_number(const Number& number);

class Cursor {
  public:
    explicit Cursor(std::string_view bytes) : bytes_(bytes) {}

    std::size_t offset() const { return pos_; }

    // The next byte (0..255) without taking it, or END.
    int peek() const { return pos_ < bytes_.size() ? static_cast<unsigned char>(bytes_[pos_]) : END; }

    // Skips space, tab, line feed and carriage return, then peeks.
    int peek_past_space();

    // Takes the byte that `peek` returned; only call after a peek that was not END.
    void advance() { ++pos_; }

    // An error positioned after the bytes taken so far.
    std::unexpected<Error> error(std::string_view message) const { return error_at(pos_, message); }

    // An error positioned after the next byte, as if it had been taken (the end of the input
    // when there is none): the column is that byte's own 1-based column.
    std::unexpected<Error> peek_error(std::string_view message) const {
        return error_at(pos_ < bytes_.size() ? pos_ + 1 : pos_, message);
    }

    // After the first letter of `null`, `true` or `false` has been taken: takes the rest.
    Result<void> finish_literal(std::string_view rest);

    // After the opening quotation mark: appends the decoded string to `out` and takes the closing
    // quotation mark. The decoded text is valid UTF-8.
    Result<void> read_string(std::string& out);

    // At the first digit, or just after a leading `-` has been taken (`negative`).
    Result<Number> read_number(bool negative);

    // Where a value of another type was expected: names the value found ("invalid type: {found},
    // expected {expected}"), reading a scalar to its end and leaving an array or object untaken.
    // A syntax error met while reading the scalar is returned instead.
    std::unexpected<Error> invalid_type(std::string_view expected);

  private:
    std::unexpected<Error> error_at(std::size_t offset, std::string_view message) const;
    Result<std::uint16_t> read_hex_escape();

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// The fixed syntax texts shared by the cursor and the record reader.
inline constexpr std::string_view EOF_VALUE = "EOF while parsing a value";
inline constexpr std::string_view EXPECTED_VALUE = "expected value";

}  // namespace mt::json
