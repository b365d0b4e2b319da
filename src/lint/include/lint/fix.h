// A repair of a problem: edits of the document's bytes that make the problem go away as the
// author meant. A safe fix is what the author certainly meant (a typographic quotation mark
// where a string's quotation mark belongs); an unsafe one is what they probably meant and is
// offered as a suggestion (the nearest known key for an unknown one).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace mt::lint {

// Replace the bytes [begin, end) of the document with `replacement`; begin == end inserts.
struct Edit {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string replacement;
    friend bool operator==(const Edit&, const Edit&) = default;
};

struct Fix {
    std::string title;  // in Russian, short: "заменить типографские кавычки на прямые"
    bool safe = true;
    std::vector<Edit> edits;  // in document order, never overlapping
    friend bool operator==(const Fix&, const Fix&) = default;
};

}  // namespace mt::lint
