// Test seam of the embedded key's loader: the same loading for any key text and diagnostics
// stream.
#pragma once

#include <cstdio>
#include <optional>
#include <string_view>

#include "signature/signature.h"

namespace mt {

// Decodes `key_text`; when it is not 64 hex digits writes the "[models] ..." line on
// `diagnostics` (when not null) and returns no key. load_models_pubkey is
// load_pubkey(MODELS_PUBKEY_HEX, stderr).
std::optional<VerifyingKey> load_pubkey(std::string_view key_text, std::FILE* diagnostics);

}  // namespace mt
