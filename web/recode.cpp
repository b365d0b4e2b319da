// The module's second export: a draft saved in a Cyrillic code page, decoded to UTF-8 by the lint
// core, for the page's "convert" action. The page never decodes a non-UTF-8 file itself: which
// code page the bytes read in, and what letters they stand for, is the lint core's answer, the
// same the note and the command line's fix give.
#include <cstdint>
#include <string>
#include <string_view>

#include "block.h"
#include "common/json_string.h"
#include "lint/code_pages.h"

extern "C" {

// Decodes `document_size` bytes at `document` when exactly one of the code pages reads them as
// Russian text. Returns 0 with {"from": the code page's name, "text": the UTF-8 text} stored as
// mt_check stores its result; 2 when no code page, or more than one, reads them (nothing
// stored); 1 when the result could not be allocated.
__attribute__((export_name("mt_recode"))) int mt_recode(const char* document, std::size_t document_size,
                                                        std::uint32_t* result) {
    const auto recoded = mt::lint::certain_recoding(std::string_view(document, document_size));
    if (!recoded) return 2;
    std::string json = "{\"from\":";
    mt::append_json_string(json, mt::lint::code_page_name(recoded->page));
    json += ",\"text\":";
    mt::append_json_string(json, recoded->text);
    json += '}';
    return mt::web::hand_over(json, result);
}
}
