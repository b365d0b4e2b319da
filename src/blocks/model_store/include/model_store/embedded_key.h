// The embedded production public key and its loader: the model_store block holds nothing else.
//
// MODELS_PUBKEY_HEX is the Ed25519 public key that feeds must be signed with, as the hexadecimal
// text the build was configured with (the production key in a release, the development key of
// tests/keys/ otherwise). It is defined by a generated object chosen at link time
// (cmake/pubkey.cmake), so one library serves builds with different keys. load_models_pubkey
// decodes it afresh on every call and keeps nothing between calls.
#pragma once

#include <optional>
#include <string_view>

#include "signature/signature.h"

namespace mt {

extern const std::string_view MODELS_PUBKEY_HEX;

// The verifying key of MODELS_PUBKEY_HEX. When the text is not 64 hexadecimal digits, writes
// the one line "[models] публичный ключ не hex/32 байта — каталог отклонён" on standard error
// and returns no key.
std::optional<VerifyingKey> load_models_pubkey();

}  // namespace mt
