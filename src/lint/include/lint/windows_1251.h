// Reading a whole draft that an older Windows editor saved in Windows-1251, the Cyrillic code
// page, so that a front end can offer to convert it to UTF-8 as one action the author chooses.
// The decision is the one the reading error's note makes about the first bytes that are not
// UTF-8, taken over the whole document.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mt::lint {

// The text `document` stands for in Windows-1251, as UTF-8, when the document is not UTF-8 and
// every byte above 0x7F in it is a Cyrillic letter or a mark of Russian typography, none of
// those letters inside a Latin word (as Latin-1 accents would be). Otherwise none: the document
// is UTF-8 already, or its bytes are some other encoding, which no one can decode for sure.
std::optional<std::string> decode_windows_1251(std::string_view document);

}  // namespace mt::lint
