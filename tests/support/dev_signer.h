// Test-only signing with the development seed of tests/keys/dev_seed.hex, or with any other seed
// (tests/support/sign_feed). The product never signs; tests, benchmarks and fuzzers use this to
// make feeds that the development key accepts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mt::testing {

// The 64-byte detached Ed25519 signature (R || S) of `message`.
std::array<std::uint8_t, 64> dev_sign(std::string_view message);

// The same signature as 128 lower-case hexadecimal digits, as a signature file holds it.
std::string dev_sign_hex(std::string_view message);

// The development public key and its 64-digit text (the default MODELS_PUBKEY_HEX).
std::array<std::uint8_t, 32> dev_public_key();
std::string dev_public_key_hex();

// The 32-byte private seed, for tests that build signatures by hand from its scalar.
std::array<std::uint8_t, 32> dev_seed();

// The same signing and public key for any 32-byte seed (the development one above is one such).
std::array<std::uint8_t, 64> sign_with_seed(const std::array<std::uint8_t, 32>& seed, std::string_view message);
std::array<std::uint8_t, 32> public_key_of_seed(const std::array<std::uint8_t, 32>& seed);

// Lower-case hexadecimal of any bytes.
std::string to_hex(const std::uint8_t* bytes, std::size_t size);

// The bytes of a test constant written as plain hexadecimal digits; aborts on anything else.
// Independent of the product's decoder, so tests of that decoder do not lean on it.
std::vector<std::uint8_t> from_hex(std::string_view digits);

}  // namespace mt::testing
