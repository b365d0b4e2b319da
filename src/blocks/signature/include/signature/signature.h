// The strict Ed25519 gate that a feed must pass before any byte of it is parsed.
//
// Verification is RFC 8032 Ed25519 in its strict form: canonical S, R and A not of small order,
// the cofactorless equation compared on encodings. Every failure of the gate, whatever its
// cause, is the one text "messages: подпись ленты не подтверждена — отклонена".
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "common/error.h"

namespace mt {

// A public key as the 32 bytes that enter the hash, unchanged. Any 32 bytes make a key: the point
// is decoded, and checked for small order, inside every verification, which refuses any
// signature under a key that does not decode.
struct VerifyingKey {
    std::array<std::uint8_t, 32> bytes;
};

// Strict verification of `signature` (R || S) over `message`.
bool verify_strict(const VerifyingKey& key, std::string_view message, std::span<const std::uint8_t, 64> signature);

// No key fails; `signature_text` must decode (decode_hex) to exactly 64 bytes; then verify_strict.
Result<void> verify_feed_signature(const std::optional<VerifyingKey>& key, std::string_view message,
                                   std::string_view signature_text);

}  // namespace mt
