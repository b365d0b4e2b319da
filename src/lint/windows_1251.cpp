#include "windows_1251.h"

#include "common/utf8.h"
#include "lint/windows_1251.h"

namespace mt::lint {
namespace {

// Windows-1251's upper half, bytes 0x80 to 0xFF, as the code page defines it (0: unassigned).
constexpr char16_t UPPER_HALF[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

bool is_cyrillic_letter(char32_t c) { return c >= 0x0400 && c <= 0x04FF; }

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

}  // namespace

std::optional<std::string> cyrillic_in_windows_1251(std::string_view bytes, std::size_t from) {
    std::string text;
    bool letter = false;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            text += bytes[i];
            continue;
        }
        const char32_t c = UPPER_HALF[b - 0x80];
        if (!is_cyrillic_letter(c) && !is_russian_typography(c)) return std::nullopt;
        // A Cyrillic letter inside a Latin word is a Latin-1 or Windows-1252 accent ("café").
        if (is_cyrillic_letter(c) &&
            ((i > 0 && is_word_letter(bytes, i - 1)) || (i + 1 < bytes.size() && is_ascii_letter(bytes[i + 1]))))
            return std::nullopt;
        letter = letter || is_cyrillic_letter(c);
        append_utf8(text, c);
    }
    if (!letter) return std::nullopt;
    return text;
}

std::optional<std::string> decode_windows_1251(std::string_view document) {
    if (is_valid_utf8(document)) return std::nullopt;
    return cyrillic_in_windows_1251(document, 0);
}

}  // namespace mt::lint
