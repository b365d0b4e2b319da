// The module's second export: a draft saved in Windows-1251, decoded to UTF-8 by the lint core,
// for the page's "convert" action. The page never decodes a non-UTF-8 file itself: whether the
// bytes read as Windows-1251, and what letters they stand for, is the lint core's answer.
#include "lint/windows_1251.h"

#include <cstdint>
#include <string_view>

#include "block.h"

extern "C" {

// Decodes `document_size` bytes at `document` when they are a Windows-1251 document that is not
// UTF-8. Returns 0 with the UTF-8 text stored as mt_check stores its result; 2 when the bytes do
// not read as Windows-1251 (nothing stored); 1 when the result could not be allocated.
__attribute__((export_name("mt_recode"))) int mt_recode(const char* document, std::size_t document_size,
                                                        std::uint32_t* result) {
    const auto text = mt::lint::decode_windows_1251(std::string_view(document, document_size));
    if (!text) return 2;
    return mt::web::hand_over(*text, result);
}
}
