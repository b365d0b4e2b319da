// The loader of the embedded production public key, MODELS_PUBKEY_HEX.
#include "hex/hex.h"
#include "model_store/embedded_key.h"
#include "model_store_internal.h"

namespace mt {
namespace {

constexpr std::string_view BAD_KEY_LINE = "[models] публичный ключ не hex/32 байта — каталог отклонён\n";

}  // namespace

std::optional<VerifyingKey> load_pubkey(std::string_view key_text, std::FILE* diagnostics) {
    const auto bytes = decode_hex32(key_text);
    if (!bytes) {
        // The decoder's own text is dropped: the one fixed line is all this build says about
        // its key, and the caller turns "no key" into the signature refusal.
        if (diagnostics != nullptr) {
            std::fwrite(BAD_KEY_LINE.data(), 1, BAD_KEY_LINE.size(), diagnostics);
            std::fflush(diagnostics);
        }
        return std::nullopt;
    }
    return VerifyingKey{*bytes};
}

std::optional<VerifyingKey> load_models_pubkey() { return load_pubkey(MODELS_PUBKEY_HEX, stderr); }

}  // namespace mt
