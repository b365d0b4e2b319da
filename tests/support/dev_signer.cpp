#include "support/dev_signer.h"

#include <algorithm>
#include <cstdlib>
#include <sodium.h>

namespace mt::testing {

std::array<std::uint8_t, 32> dev_seed() {
    const std::vector<std::uint8_t> bytes = from_hex(MT_DEV_SEED_HEX);
    std::array<std::uint8_t, 32> seed{};
    if (bytes.size() != seed.size()) std::abort();
    std::copy(bytes.begin(), bytes.end(), seed.begin());
    return seed;
}

namespace {

struct KeyPair {
    std::array<std::uint8_t, 32> public_key;
    std::array<std::uint8_t, 64> secret_key;
};

KeyPair key_pair(const std::array<std::uint8_t, 32>& seed) {
    if (sodium_init() < 0) std::abort();
    KeyPair pair{};
    crypto_sign_seed_keypair(pair.public_key.data(), pair.secret_key.data(), seed.data());
    return pair;
}

}  // namespace

std::array<std::uint8_t, 64> sign_with_seed(const std::array<std::uint8_t, 32>& seed, std::string_view message) {
    const KeyPair pair = key_pair(seed);
    std::array<std::uint8_t, 64> signature{};
    crypto_sign_detached(signature.data(), nullptr, reinterpret_cast<const unsigned char*>(message.data()),
                         message.size(), pair.secret_key.data());
    return signature;
}

std::array<std::uint8_t, 32> public_key_of_seed(const std::array<std::uint8_t, 32>& seed) {
    return key_pair(seed).public_key;
}

std::array<std::uint8_t, 64> dev_sign(std::string_view message) { return sign_with_seed(dev_seed(), message); }

std::string dev_sign_hex(std::string_view message) {
    const auto signature = dev_sign(message);
    return to_hex(signature.data(), signature.size());
}

std::array<std::uint8_t, 32> dev_public_key() { return public_key_of_seed(dev_seed()); }

std::string dev_public_key_hex() {
    const auto key = dev_public_key();
    return to_hex(key.data(), key.size());
}

std::vector<std::uint8_t> from_hex(std::string_view digits) {
    if (digits.empty()) return {};  // libsodium wants real pointers even for no bytes
    std::vector<std::uint8_t> bytes(digits.size() / 2);
    std::size_t length = 0;
    if (digits.size() % 2 != 0 ||
        sodium_hex2bin(bytes.data(), bytes.size(), digits.data(), digits.size(), nullptr, &length, nullptr) != 0 ||
        length != bytes.size())
        std::abort();
    return bytes;
}

std::string to_hex(const std::uint8_t* bytes, std::size_t size) {
    static constexpr char DIGITS[] = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        out += DIGITS[bytes[i] >> 4];
        out += DIGITS[bytes[i] & 15];
    }
    return out;
}

}  // namespace mt::testing
