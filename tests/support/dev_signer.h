// Test-only signing with the development seed of tests/keys/dev_seed.hex. The product never
// signs; tests, benchmarks and fuzzers use this to make feeds that the development key accepts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace mt::testing {

// The 64-byte detached Ed25519 signature (R || S) of `message`.
std::array<std::uint8_t, 64> dev_sign(std::string_view message);

// The same signature as 128 lower-case hexadecimal digits, as a signature file holds it.
std::string dev_sign_hex(std::string_view message);

// The development public key and its 64-digit text (the default MODELS_PUBKEY_HEX).
std::array<std::uint8_t, 32> dev_public_key();
std::string dev_public_key_hex();

// Lower-case hexadecimal of any bytes.
std::string to_hex(const std::uint8_t* bytes, std::size_t size);

}  // namespace mt::testing
