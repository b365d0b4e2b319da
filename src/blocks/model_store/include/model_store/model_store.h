// The compiled-in public key and its loader.
//
// MODELS_PUBKEY_HEX is defined by a generated object chosen at link time (see
// cmake/pubkey.cmake), so one library serves builds with different keys. The loader decodes it
// afresh on every call and keeps nothing between calls.
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
