// Reading a draft saved in Windows-1251, the Cyrillic code page older Windows editors still
// save in, as the UTF-8 the feed must be in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mt::lint {

// The whole of `bytes` re-encoded from Windows-1251 to UTF-8, when they are not UTF-8 and read
// as Cyrillic text there: every byte above 0x7F is a Cyrillic letter or a mark of Russian
// typography, at least one is a letter, no letter stands next to a Latin one, and no two
// Cyrillic letters already stand in UTF-8 side by side (a UTF-8 file with a few damaged bytes
// is not Windows-1251). Otherwise none. Bytes below 0x80 are kept as they are.
std::optional<std::string> decode_windows_1251(std::string_view bytes);

}  // namespace mt::lint
