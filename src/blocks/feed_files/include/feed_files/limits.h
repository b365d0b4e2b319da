// The size limits of the two input files and the refusals of files beyond them. Both front
// ends read a feed through the same cap and refuse an oversize one with the same line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace mt {

// The largest feed file that is passed on; a feed is read through a cap of one byte more.
inline constexpr std::size_t MAX_FEED_BYTES = 65536;

// The largest signature file that is passed on, read through a cap of one byte more.
inline constexpr std::size_t MAX_SIG_BYTES = 512;

// The refusal of a feed file of which `size` bytes (more than MAX_FEED_BYTES) were read:
// "{path} — {size} байт больше 64 КиБ, отклонено до парсинга", the path as given.
std::string feed_too_large_text(std::string_view path, std::size_t size);

// The refusal of a signature file of `length` bytes (more than MAX_SIG_BYTES):
// "{path} — {length} байт больше 512, не похоже на подпись".
std::string signature_too_large_text(std::string_view path, std::uint64_t length);

}  // namespace mt
