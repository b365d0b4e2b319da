// How the module's exports hand a text back to JavaScript: a block from malloc, which the
// caller frees with mt_free, its address and length in result[0] and result[1].
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace mt::web {

// 0 when the text was handed over, 1 when its block could not be allocated.
inline int hand_over(std::string_view text, std::uint32_t* result) {
    void* block = std::malloc(text.size() > 0 ? text.size() : 1);
    if (block == nullptr) return 1;
    text.copy(static_cast<char*>(block), text.size());
    result[0] = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(block));
    result[1] = static_cast<std::uint32_t>(text.size());
    return 0;
}

}  // namespace mt::web
