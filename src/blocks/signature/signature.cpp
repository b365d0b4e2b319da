// The strict Ed25519 gate, delegated whole to libsodium: no curve arithmetic lives here.
#include "signature/signature.h"

#include <sodium.h>
#include <string>

#include "hex/hex.h"

namespace mt {
namespace {

constexpr std::string_view SIGNATURE_REJECTED = "messages: подпись ленты не подтверждена — отклонена";

}  // namespace

bool verify_strict(const VerifyingKey& key, std::string_view message, std::span<const std::uint8_t, 64> signature) {
    if (sodium_init() < 0) return false;
    // An empty view may carry a null pointer; hash zero bytes from a real one instead.
    static constexpr unsigned char NO_BYTES[1] = {0};
    const auto* bytes = message.empty() ? NO_BYTES : reinterpret_cast<const unsigned char*>(message.data());
    // libsodium's default verification is the strict one: it refuses S >= L, refuses R and A
    // whose encodings are of small order (non-canonical ones included), hashes R, the key bytes
    // as given and the message, and compares the encoding of [S]B - [k]A with R byte for byte,
    // without the cofactor. Beyond that it refuses keys whose y is not below p; a real public
    // key is always canonical, so no signature that a key holder can make is lost.
    return crypto_sign_verify_detached(signature.data(), bytes, message.size(), key.bytes.data()) == 0;
}

Result<void> verify_feed_signature(const std::optional<VerifyingKey>& key, std::string_view message,
                                   std::string_view signature_text) {
    // One text for every cause, so the gate tells a forger nothing about what failed.
    if (!key) return fail(std::string(SIGNATURE_REJECTED));
    const auto decoded = decode_hex(signature_text);
    if (!decoded || decoded->size() != 64) return fail(std::string(SIGNATURE_REJECTED));
    if (!verify_strict(*key, message, std::span<const std::uint8_t, 64>(decoded->data(), 64)))
        return fail(std::string(SIGNATURE_REJECTED));
    return {};
}

}  // namespace mt
