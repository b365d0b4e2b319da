// A forward-only cursor over the bytes of one JSON document: whitespace, literals, strings and
// numbers, and the reading errors with their positions.
//
// The cursor never reads past the end of its bytes and never allocates per byte. Positions are
// byte offsets; their line and column are counted only when an error is made, so reading pays
// nothing for them. Every error function returns a ready `std::unexpected` so that a reader can
// `return cur.error(...)` from any `Read<T>`.
//
// Internal to the messages block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

#include "messages/read_error.h"

namespace mt {

template <class T>
using Read = std::expected<T, ReadError>;

}  // namespace mt

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
    // A cursor over the whole of `bytes` that starts at `start`, so that every offset it gives is
    // the whole document's, for a caller that needs only whether a value reads: its errors carry
    // no line and column (counting them would read the document from its start every time).
    Cursor(std::string_view bytes, std::size_t start) : bytes_(bytes), pos_(start), lines_(false) {}

    std::size_t offset() const { return pos_; }

    // The next byte (0..255) without taking it, or END.
    int peek() const { return pos_ < bytes_.size() ? static_cast<unsigned char>(bytes_[pos_]) : END; }

    // Skips space, tab, line feed and carriage return, then peeks.
    int peek_past_space();

    // Takes the byte that `peek` returned; only call after a peek that was not END.
    void advance() { ++pos_; }

    // Whether only white space stands in [from, to).
    bool only_space_between(std::size_t from, std::size_t to) const;

    // An error for `reason` at `offset`, with its line and column counted.
    ReadError error_value(std::size_t offset, Reason reason) const;

    // An error positioned after the bytes taken so far.
    std::unexpected<ReadError> error(Reason reason) const { return std::unexpected(error_value(pos_, reason)); }

    // An error positioned after the next byte, as if it had been taken (the end of the input
    // when there is none): the column is that byte's own 1-based column.
    std::unexpected<ReadError> peek_error(Reason reason) const {
        return std::unexpected(error_value(pos_ < bytes_.size() ? pos_ + 1 : pos_, reason));
    }

    // After the first letter of `null`, `true` or `false` has been taken: takes the rest.
    Read<void> finish_literal(std::string_view rest);

    // After the opening quotation mark: appends the decoded string to `out` and takes the closing
    // quotation mark. The decoded text is valid UTF-8.
    Read<void> read_string(std::string& out);

    // At the first digit, or just after a leading `-` has been taken (`negative`).
    Read<Number> read_number(bool negative);

    // Where a value of another type was expected: names the value found ("invalid type: {found},
    // expected {expected}"), reading a scalar to its end and leaving an array or object untaken.
    // A syntax error met while reading the scalar is returned instead.
    std::unexpected<ReadError> invalid_type(ValueType expected);

  private:
    Read<std::uint16_t> read_hex_escape();

    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool lines_ = true;  // whether errors count their line and column
};

}  // namespace mt::json
