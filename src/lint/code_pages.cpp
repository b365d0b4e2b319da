#include "lint/code_pages.h"

#include "code_page_reading.h"
#include "common/utf8.h"

namespace mt::lint {
namespace {

#include "code_page_tables.inc"

constexpr CodePage ALL_PAGES[] = {CodePage::windows_1251, CodePage::koi8_r, CodePage::mac_cyrillic, CodePage::cp866};

const char16_t* upper_half(CodePage page) {
    switch (page) {
        case CodePage::windows_1251:
            return WINDOWS_1251;
        case CodePage::koi8_r:
            return KOI8_R;
        case CodePage::mac_cyrillic:
            return MAC_CYRILLIC;
        case CodePage::cp866:
            return CP866;
        case CodePage::utf_16:
            break;
    }
    return WINDOWS_1251;
}

// The capitals of the Russian, Ukrainian and Belarusian alphabets; their small letters are these
// plus 0x20 (А-Я) or plus 0x50 (Ё Є І Ї Ў), and ґ is Ґ plus one.
bool is_capital(char32_t c) {
    return (c >= 0x0410 && c <= 0x042F) || c == 0x0401 || c == 0x0404 || c == 0x0406 || c == 0x0407 || c == 0x040E ||
           c == 0x0490;
}

bool is_small(char32_t c) {
    return (c >= 0x0430 && c <= 0x044F) || c == 0x0451 || c == 0x0454 || c == 0x0456 || c == 0x0457 || c == 0x045E ||
           c == 0x0491;
}

bool is_letter(char32_t c) { return is_capital(c) || is_small(c); }

bool is_russian_typography(char32_t c) {
    switch (c) {
        case 0x00A0:  // no-break space
        case 0x00AB:  // «
        case 0x00BB:  // »
        case 0x2013:  // –
        case 0x2014:  // —
        case 0x2018:  // ‘
        case 0x2019:  // ’
        case 0x201C:  // “
        case 0x201D:  // ”
        case 0x201E:  // „
        case 0x2026:  // …
        case 0x2116:  // №
            return true;
        default:
            return false;
    }
}

bool is_ascii_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Whether the byte at `i` is a letter of a Latin word: not the letter of an escape such as the
// `\n` before a line's first word.
bool is_word_letter(std::string_view bytes, std::size_t i) {
    return is_ascii_letter(bytes[i]) && !(i > 0 && bytes[i - 1] == '\\');
}

// Whether two Cyrillic letters written in UTF-8 stand side by side somewhere in `bytes`: then
// the file is UTF-8 with some bytes of another encoding, and those alone are read in it.
bool has_utf8_cyrillic_word(std::string_view bytes) {
    bool previous = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const Character c = first_character(bytes.substr(i));
        const bool letter = c.valid && c.length == 2 && c.value >= 0x0400 && c.value <= 0x04FF;
        if (letter && previous) return true;
        previous = letter;
        i += c.length;
    }
    return false;
}

// `bytes` read in `page` (keeping valid UTF-8 sequences when `keep_utf8`), when that reads as
// Russian text; `plausible` off reads it whatever it gives.
std::optional<std::string> read_as(CodePage page, std::string_view bytes, bool keep_utf8, bool plausible) {
    const char16_t* half = upper_half(page);
    std::string text;
    bool letter = false, word = false, after_small = false;
    std::size_t run = 0;  // letters read in the code page in a row
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            text += bytes[i++];
            after_small = false;
            run = 0;
            continue;
        }
        if (keep_utf8) {
            if (const Character kept = first_character(bytes.substr(i)); kept.valid) {
                text.append(bytes.substr(i, kept.length));
                after_small = is_small(kept.value);
                run = 0;
                i += kept.length;
                continue;
            }
        }
        const char32_t c = half[b - 0x80];
        if (plausible) {
            if (!is_letter(c) && !is_russian_typography(c)) return std::nullopt;
            // A Cyrillic letter inside a Latin word is a Latin-1 or Windows-1252 accent ("café").
            if (is_letter(c) &&
                ((i > 0 && is_word_letter(bytes, i - 1)) || (i + 1 < bytes.size() && is_ascii_letter(bytes[i + 1]))))
                return std::nullopt;
            if (is_capital(c) && after_small) return std::nullopt;
        }
        after_small = is_small(c);
        letter = letter || is_letter(c);
        run = is_letter(c) ? run + 1 : 0;
        word = word || run >= 2;
        append_utf8(text, c != 0 ? c : U'\uFFFD');
        ++i;
    }
    // Beside UTF-8 Cyrillic words, a byte or two that are not UTF-8 are most often a damaged
    // character; only a word of the code page's letters tells of text saved in it.
    if (plausible && (keep_utf8 ? !word : !letter)) return std::nullopt;
    return text;
}

}  // namespace

std::string_view code_page_name(CodePage page) {
    switch (page) {
        case CodePage::windows_1251:
            return "Windows-1251";
        case CodePage::koi8_r:
            return "KOI8-R";
        case CodePage::mac_cyrillic:
            return "Mac Cyrillic";
        case CodePage::cp866:
            return "CP866";
        case CodePage::utf_16:
            return "UTF-16";
    }
    return "";
}

std::vector<Recoding> plausible_recodings(std::string_view document) {
    std::vector<Recoding> out;
    if (is_valid_utf8(document)) return out;
    const bool keep_utf8 = has_utf8_cyrillic_word(document);
    for (const CodePage page : ALL_PAGES)
        if (auto text = read_as(page, document, keep_utf8, true)) out.push_back({page, std::move(*text)});
    return out;
}

std::optional<std::string> decode_utf16(std::string_view document) {
    const bool little = document.starts_with("\xFF\xFE"), big = document.starts_with("\xFE\xFF");
    if ((!little && !big) || document.size() % 2 != 0) return std::nullopt;
    const auto unit = [&](std::size_t at) {
        const auto a = static_cast<unsigned char>(document[at]), b = static_cast<unsigned char>(document[at + 1]);
        return static_cast<char32_t>(little ? a | b << 8 : a << 8 | b);
    };
    std::string text;
    for (std::size_t at = 2; at < document.size(); at += 2) {
        char32_t c = unit(at);
        if (c >= 0xDC00 && c <= 0xDFFF) return std::nullopt;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (at + 4 > document.size()) return std::nullopt;
            const char32_t low = unit(at + 2);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            at += 2;
        }
        append_utf8(text, c);
    }
    return text;
}

std::optional<Recoding> certain_recoding(std::string_view document) {
    if (auto text = decode_utf16(document)) return Recoding{CodePage::utf_16, std::move(*text)};
    std::vector<Recoding> all = plausible_recodings(document);
    if (all.size() != 1) return std::nullopt;
    return std::move(all.front());
}

std::string read_part(CodePage page, std::string_view document, std::size_t from, std::size_t end) {
    return *read_as(page, document.substr(from, end - from), has_utf8_cyrillic_word(document), false);
}

}  // namespace mt::lint
