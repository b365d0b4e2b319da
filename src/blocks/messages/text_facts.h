// What the length and control-character rules need from a text, found in byte lanes that the
// compiler vectorises. Internal to the messages block; its scalar twin lives with the tests.
#pragma once

#include <cstddef>
#include <string_view>

namespace mt {

// Of a valid UTF-8 text: its number of characters, and whether it holds a control character
// (U+0000..U+001F but the line feed, U+007F..U+009F).
struct TextFacts {
    std::size_t chars = 0;
    bool has_control = false;
    friend bool operator==(const TextFacts&, const TextFacts&) = default;
};

TextFacts examine_text(std::string_view text);

}  // namespace mt
