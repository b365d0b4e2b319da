// Recognising a draft saved in Windows-1251, the Cyrillic code page older Windows editors still
// save in: its bytes are not UTF-8, and an author needs to hear which encoding it was to fix
// it. Internal to the lint core.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mt::lint {

// The text the bytes of `bytes` from `from` on stand for in Windows-1251, as UTF-8, when they
// read as Cyrillic text there: every byte above 0x7F is a Cyrillic letter or a mark of Russian
// typography (« » — – … № and the like), at least one is a letter, and no letter stands next to
// a Latin one, the byte just before `from` included (as the accents of Latin-1 text would).
// Otherwise none.
std::optional<std::string> cyrillic_in_windows_1251(std::string_view bytes, std::size_t from);

}  // namespace mt::lint
