// The Cyrillic code pages older editors still save drafts in, Windows-1251, KOI8-R, Mac Cyrillic
// and CP866, and the one decision which of them a draft that is not UTF-8 was saved in: the note
// on its bytes, its recoding fix and the page's convert action all take it from here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mt::lint {

enum class CodePage : unsigned char { windows_1251, koi8_r, mac_cyrillic, cp866, utf_16 };

// "Windows-1251", "KOI8-R", "Mac Cyrillic", "CP866", "UTF-16".
std::string_view code_page_name(CodePage page);

// A draft's bytes that are not UTF-8 read in one code page, as UTF-8.
struct Recoding {
    CodePage page = CodePage::windows_1251;
    std::string text;
};

// Every code page in which the bytes of `document` that are not UTF-8 read as Russian text:
// each of them a letter of the Russian, Ukrainian or Belarusian alphabet or a mark of Russian
// typography (« » — – … № and the like), at least one a letter, no letter next to a Latin one
// (as the accents of Latin-1 text would be), and no capital letter right after a small one in a
// word (as KOI8-R read in Windows-1251 gives, its cases crossed). A document with UTF-8 Cyrillic
// words keeps them: only the bytes outside valid UTF-8 are read in the code page, and they must
// hold a word of two letters or more (a lone byte there is a damaged character). None for a
// document that is UTF-8.
std::vector<Recoding> plausible_recodings(std::string_view document);

// A document in UTF-16, told by its byte-order mark (FF FE little-endian, FE FF big-endian), as
// UTF-8 without the mark, when it is valid UTF-16 (surrogates in pairs, an even length).
std::optional<std::string> decode_utf16(std::string_view document);

// The recoding of `document` when exactly one code page reads it as Russian text, or it is
// UTF-16 by its byte-order mark: the certain one.
std::optional<Recoding> certain_recoding(std::string_view document);

}  // namespace mt::lint
