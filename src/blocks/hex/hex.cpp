#include "hex/hex.h"

#include <span>
#include <string>

#include "common/digits.h"
#include "common/white_space.h"

namespace mt {
namespace {

constexpr std::string_view ODD_LENGTH = "нечётная длина hex-строки";
constexpr std::string_view INVALID_DIGIT = "invalid digit found in string";
constexpr std::string_view WRONG_LENGTH_32 = "ожидалось 64 hex-символа, получено ";

// Decodes `digits` (even length, already trimmed) into `out`, which holds half as many bytes.
bool decode_pairs(std::string_view digits, std::span<std::uint8_t> out) {
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int high = hex_digit_value(digits[2 * i]);
        const int low = hex_digit_value(digits[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        out[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return true;
}

}  // namespace

Result<std::vector<std::uint8_t>> decode_hex(std::string_view text) {
    const std::string_view digits = trim_white_space(text);
    if (digits.size() % 2 != 0) return fail(std::string(ODD_LENGTH));
    std::vector<std::uint8_t> bytes(digits.size() / 2);
    if (!decode_pairs(digits, bytes)) return fail(std::string(INVALID_DIGIT));
    return bytes;
}

Result<std::array<std::uint8_t, 32>> decode_hex32(std::string_view text) {
    const std::string_view digits = trim_white_space(text);
    if (digits.size() != 64) return fail(std::string(WRONG_LENGTH_32) + decimal(digits.size()));
    std::array<std::uint8_t, 32> bytes{};
    if (!decode_pairs(digits, bytes)) return fail(std::string(INVALID_DIGIT));
    return bytes;
}

}  // namespace mt
