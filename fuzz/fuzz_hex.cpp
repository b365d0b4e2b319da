// The hexadecimal decoders on any bytes: the result has half the trimmed length and encodes
// back to the same digits; the only failures are the fixed texts.
#include <cctype>
#include <cstdint>
#include <string>

#include "common/white_space.h"
#include "invariants.h"
#include "hex/hex.h"
#include "support/dev_signer.h"

using namespace mt::fuzz;

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = as_text(data, size);
    const std::string_view trimmed = mt::trim_white_space(text);

    const auto bytes = mt::decode_hex(text);
    if (bytes) {
        require(bytes->size() * 2 == trimmed.size(), "half the trimmed length");
        require(mt::testing::to_hex(bytes->data(), bytes->size()) == lower(trimmed), "decodes back to its digits");
    } else {
        const std::string& e = bytes.error().text;
        require(e == "нечётная длина hex-строки" || e == "invalid digit found in string", "fixed decoder text", e);
        require((e == "нечётная длина hex-строки") == (trimmed.size() % 2 == 1), "odd length decided first", e);
    }

    const auto key = mt::decode_hex32(text);
    if (trimmed.size() != 64) {
        require(!key && key.error().text == "ожидалось 64 hex-символа, получено " + std::to_string(trimmed.size()),
                "wrong length names the trimmed length");
    } else {
        require(key.has_value() == bytes.has_value(), "32-byte form agrees with the general decoder");
        if (key) require(std::equal(key->begin(), key->end(), bytes->begin()), "same bytes");
    }
    return 0;
}
