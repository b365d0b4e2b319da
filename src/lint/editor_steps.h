// What an author does in an editor to undo what the editor did to a draft: typographic quotation
// marks, another encoding, a byte-order mark. Most authors write on a Mac, so TextEdit comes
// first, then VS Code and Notepad (Блокнот). Internal to the lint core.
#pragma once

#include <string_view>

namespace mt::lint {

// Saving a file again as UTF-8 without a byte-order mark.
inline constexpr std::string_view SAVE_AS_UTF8 =
    "TextEdit: Формат → Сделать простым текстом, затем Файл → Сохранить, кодировка «Юникод (UTF-8)»; VS Code: "
    "кодировка в строке состояния → «Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», кодировка «UTF-8»";

// Opening a Windows-1251 file as what it is, then saving it as UTF-8.
inline constexpr std::string_view REOPEN_FROM_WINDOWS_1251 =
    "TextEdit: Файл → Открыть, в «Параметрах» кодировка «Кириллица (Windows)», затем Файл → Сохранить, кодировка "
    "«Юникод (UTF-8)»; VS Code: кодировка в строке состояния → «Reopen with Encoding» → «Cyrillic (Windows 1251)», "
    "затем «Save with Encoding» → «UTF-8»; Блокнот: «Сохранить как», кодировка «UTF-8»";

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
