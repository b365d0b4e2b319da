#include "common/cells.h"

#include "code_ranges.h"
#include "common/utf8.h"

namespace mt {
namespace {

#include "cells_tables.inc"

constexpr char32_t ZWJ = 0x200D, EMOJI_SELECTOR = 0xFE0F;

bool is_regional_indicator(char32_t value) { return value >= 0x1F1E6 && value <= 0x1F1FF; }

bool is_control(char32_t value) { return value < 0x20 || (value >= 0x7F && value <= 0x9F); }

std::size_t character_cells(char32_t value) {
    if (is_control(value) || in_ranges(value, ZERO_WIDTH)) return 0;
    return in_ranges(value, WIDE) ? 2 : 1;
}

}  // namespace

Cluster first_cluster(std::string_view text) {
    const Character base = first_character(text);
    if (!base.valid) return {1, 1};
    Cluster cluster{base.length, character_cells(base.value)};
    if (is_control(base.value)) return cluster;

    if (is_regional_indicator(base.value) && text.size() > base.length) {
        const Character next = first_character(text.substr(base.length));
        if (next.valid && is_regional_indicator(next.value)) return {base.length + next.length, 2};
    }
    // A joiner joins a pictograph to the cluster only when the cluster so far is a pictograph
    // with its extenders.
    const bool pictographic = in_ranges(base.value, PICTOGRAPHIC);
    bool after_joiner = false;
    while (cluster.length < text.size()) {
        const Character next = first_character(text.substr(cluster.length));
        if (!next.valid) break;
        if (after_joiner && pictographic && in_ranges(next.value, PICTOGRAPHIC)) {
            cluster.cells = 2;
        } else if (!in_ranges(next.value, EXTEND)) {
            break;
        } else if (next.value == EMOJI_SELECTOR && cluster.length == base.length &&
                   in_ranges(base.value, EMOJI_STYLE)) {
            cluster.cells = 2;
        }
        after_joiner = next.value == ZWJ;
        cluster.length += next.length;
    }
    return cluster;
}

}  // namespace mt
