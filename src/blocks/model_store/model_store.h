// The compiled-in public key, the hexadecimal decoder and the key loader.
//
// MODELS_PUBKEY_HEX is defined by a generated object chosen at link time (see
// cmake/pubkey.cmake), so one library serves builds with different keys. The decoders accept
// any bytes: after trimming White_Space, pairs of hexadecimal digits of either case, nothing
// else. Their error texts are fixed; callers in this program never show them.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "common/error.h"
#include "signature/signature.h"

namespace mt {

extern const std::string_view MODELS_PUBKEY_HEX;

// Errors: "нечётная длина hex-строки", "invalid digit found in string".
Result<std::vector<std::uint8_t>> decode_hex(std::string_view text);

// Errors: "ожидалось 64 hex-символа, получено {n}" ({n} bytes after trimming), then as decode_hex.
Result<std::array<std::uint8_t, 32>> decode_hex32(std::string_view text);

// Decodes `key_text`; when it is not 64 hex digits writes the one "[models] ..." line on
// `diagnostics` and returns no key.
std::optional<VerifyingKey> load_pubkey(std::string_view key_text, std::FILE* diagnostics);

// load_pubkey(MODELS_PUBKEY_HEX, stderr). Keeps nothing between calls.
std::optional<VerifyingKey> load_models_pubkey();

}  // namespace mt
