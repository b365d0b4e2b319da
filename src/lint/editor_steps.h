// What an author does in an editor to undo what the editor did to a draft: typographic quotation
// marks, another encoding, a byte-order mark. Most authors write on a Mac, so TextEdit comes
// first, then VS Code and Notepad (Блокнот). Internal to the lint core.
#pragma once

#include <string_view>

#include "lint/code_pages.h"

namespace mt::lint {

// Saving a file again as UTF-8 without a byte-order mark.
inline constexpr std::string_view SAVE_AS_UTF8 =
    "TextEdit: Формат → Сделать простым текстом, затем Файл → Сохранить, кодировка «Юникод (UTF-8)»; VS Code: "
    "кодировка в строке состояния → «Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», кодировка «UTF-8»";

// Opening a file saved in a Cyrillic code page as what it is, then saving it as UTF-8 (VS Code
// has no Mac Cyrillic).
inline std::string_view reopen_steps(CodePage page) {
    switch (page) {
        case CodePage::windows_1251:
            return "TextEdit: Файл → Открыть, в «Параметрах» кодировка «Кириллица (Windows)», затем Файл → Сохранить, "
                   "кодировка «Юникод (UTF-8)»; VS Code: кодировка в строке состояния → «Reopen with Encoding» → "
                   "«Cyrillic (Windows 1251)», затем «Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», "
                   "кодировка «UTF-8»";
        case CodePage::koi8_r:
            return "TextEdit: Файл → Открыть, в «Параметрах» кодировка «Кириллица (KOI8-R)», затем Файл → Сохранить, "
                   "кодировка «Юникод (UTF-8)»; VS Code: кодировка в строке состояния → «Reopen with Encoding» → "
                   "«Cyrillic (KOI8-R)», затем «Save with Encoding» → «UTF-8»";
        case CodePage::mac_cyrillic:
            return "TextEdit: Файл → Открыть, в «Параметрах» кодировка «Кириллица (Mac OS)», затем Файл → Сохранить, "
                   "кодировка «Юникод (UTF-8)»; в VS Code этой кодировки нет";
        case CodePage::cp866:
            return "TextEdit: Файл → Открыть, в «Параметрах» кодировка «Кириллица (DOS)», затем Файл → Сохранить, "
                   "кодировка «Юникод (UTF-8)»; VS Code: кодировка в строке состояния → «Reopen with Encoding» → "
                   "«Cyrillic (CP 866)», затем «Save with Encoding» → «UTF-8»";
        case CodePage::utf_16:
            return "TextEdit: Файл → Сохранить, кодировка «Юникод (UTF-8)»; VS Code: кодировка в строке состояния → "
                   "«Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», кодировка «UTF-8»";
    }
    return "";
}

// Dropping the byte-order mark: TextEdit writes UTF-8 without one.
inline constexpr std::string_view SAVE_WITHOUT_BOM =
    "TextEdit: Формат → Сделать простым текстом, затем Файл → Сохранить, кодировка «Юникод (UTF-8)»; VS Code: "
    "«UTF-8 with BOM» в строке состояния → «Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», кодировка "
    "«UTF-8»";

// Where typographic quotation marks come from and how to stop them.
inline constexpr std::string_view SMART_QUOTES_OFF =
    "такие кавычки ставит автозамена: в TextEdit — Формат → Сделать простым текстом и Правка → Замены → снимите "
    "«Смарт-кавычки»; VS Code и Блокнот кавычек не заменяют, но такие кавычки приходят с текстом, вставленным из "
    "Pages, Word или письма";

}  // namespace mt::lint
