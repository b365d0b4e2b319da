// The size limit of the signature file and the refusal of a file beyond it. (The feed's own
// limit, MAX_FEED_BYTES, is one of the feed's limits, in messages/records.h.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace mt {

// The largest signature file that is passed on, read through a cap of one byte more.
inline constexpr std::size_t MAX_SIG_BYTES = 512;

// The refusal of a signature file of `length` bytes (more than MAX_SIG_BYTES):
// "{path} — {length} байт больше 512, не похоже на подпись".
std::string signature_too_large_text(std::string_view path, std::uint64_t length);

}  // namespace mt
