// The WebAssembly export of whole-document fixing, for the page's "Исправить всё надёжное":
// the same rounds as `messages-lint --fix` (and with `unsafe`, --unsafe-fixes), so the page
// saves exactly the bytes the command line would write.
//
// Memory: as mt_check (module.cpp), the caller copies the document into a block from mt_alloc
// and frees it and the result with mt_free.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "block.h"
#include "lint/fix_document.h"
#include "lint/zone_table.h"
#include "page_view.h"

extern "C" {

// Fixes `document_size` bytes at `document` with the safe fixes (and the suggestions when
// `unsafe` is not 0), a date without a zone read in the author's zone (as mt_check takes it). Stores the fixed
// document's address and length in result[0] and result[1] (the document as it was when nothing is fixed, or when it is
// over MAX_DRAFT_BYTES), the number of fixes made in result[2], and the page's words for it ("Сделано 2
// исправления; …") in result[3] and result[4]; both are blocks for mt_free. Returns 0, or 1 when the result could
// not be allocated.
__attribute__((export_name("mt_fix"))) int mt_fix(const char* document, std::size_t document_size, int unsafe,
                                                  const char* zone_name, std::size_t zone_name_size,
                                                  const std::int64_t* spans, std::size_t span_count,
                                                  std::uint32_t* result) {
    const mt::lint::ZoneTable zone{std::string_view(zone_name, zone_name_size), spans, span_count};
    const mt::lint::FixOutcome fixed = mt::lint::fix_document(
        std::string_view(document, document_size),
        {.unsafe = unsafe != 0, .check = {.now = 0, .warnings = true, .zone = zone.author_zone()}});
    void* block = std::malloc(fixed.document.size() > 0 ? fixed.document.size() : 1);
    if (block == nullptr) return 1;
    fixed.document.copy(static_cast<char*>(block), fixed.document.size());
    result[0] = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(block));
    result[1] = static_cast<std::uint32_t>(fixed.document.size());
    result[2] = static_cast<std::uint32_t>(fixed.applied.size());
    // The announcement after it, a second block.
    if (mt::web::hand_over(mt::web::fixes_made_text(fixed.applied.size()), result + 3) != 0) {
        std::free(block);
        return 1;
    }
    return 0;
}
}
