#!/usr/bin/env python3
"""Writes the code point tables from the Unicode Character Database, as sorted and merged ranges.

By default, src/blocks/common/unicode_tables.inc: every code point that the quoted form of a
text writes as an escape: general categories Cc, Cf, Co and Cn, White_Space (except the
space itself), Default_Ignorable_Code_Point and Grapheme_Extend.

With --invisible, src/lint/invisible_tables.inc: the code points that show nothing on their
own, for the warning about a title or body made only of them: White_Space, general category
Cf, Default_Ignorable_Code_Point and Grapheme_Extend.

With --white-space, src/blocks/common/white_space_tables.inc: the White_Space code points, which
trimming removes (common/white_space.h).

With --cells, src/blocks/common/cells_tables.inc, what a terminal cell count needs (common/cells.h):
WIDE (East_Asian_Width W or F, the unlisted code points that default to W, Emoji_Presentation),
ZERO_WIDTH (Grapheme_Cluster_Break Extend or ZWJ, Default_Ignorable_Code_Point, Hangul medial
vowels and final consonants; emoji modifiers excepted, which stand alone as wide pictographs),
EXTEND (Grapheme_Cluster_Break Extend or ZWJ: what continues a character cluster),
PICTOGRAPHIC (Extended_Pictographic: what a zero width joiner joins) and EMOJI_STYLE (the
characters with an emoji presentation sequence, <c> U+FE0F).

Surrogates are not scalar values and never reach a lookup, so they are left out.

Usage: tools/gen_unicode_tables.py [--invisible | --white-space | --cells] [UCD directory, default /usr/share/unicode]
       > OUT
(Debian's unicode-data package provides the directory: scripts/bootstrap --unicode.)
"""
import os
import re
import sys

LINE = re.compile(r"^([0-9A-F]{4,6})(?:\.\.([0-9A-F]{4,6}))?\s*;\s*([A-Za-z_]+)")


def read_ranges(path, wanted):
    ranges = []
    version = None
    with open(path, encoding="utf-8") as source:
        for line in source:
            if version is None:
                found = re.search(r"-(\d+\.\d+\.\d+)\.txt", line)
                if found:
                    version = found.group(1)
            match = LINE.match(line)
            if match and match.group(3) in wanted:
                low = int(match.group(1), 16)
                high = int(match.group(2) or match.group(1), 16)
                ranges.append((low, high))
    return ranges, version


def without(ranges, point):
    result = []
    for low, high in ranges:
        if low <= point <= high:
            if low < point:
                result.append((low, point - 1))
            if point < high:
                result.append((point + 1, high))
        else:
            result.append((low, high))
    return result


def without_surrogates(ranges):
    result = []
    for low, high in ranges:
        if high < 0xD800 or low > 0xDFFF:
            result.append((low, high))
            continue
        if low < 0xD800:
            result.append((low, 0xD7FF))
        if high > 0xDFFF:
            result.append((0xE000, high))
    return result


def merge(ranges):
    merged = []
    for low, high in sorted(ranges):
        if merged and low <= merged[-1][1] + 1:
            merged[-1] = (merged[-1][0], max(merged[-1][1], high))
        else:
            merged.append((low, high))
    return merged


def write_table(out, name, ranges):
    out.write("inline constexpr CodeRange %s[] = {\n" % name)
    for index in range(0, len(ranges), 4):
        row = ", ".join("{0x%X, 0x%X}" % pair for pair in ranges[index:index + 4])
        out.write("    %s,\n" % row)
    out.write("};\n")


def minus(ranges, removed):
    points = set()
    for low, high in removed:
        points.update(range(low, high + 1))
    result = []
    for low, high in ranges:
        for point in range(low, high + 1):
            if point not in points:
                result.append((point, point))
    return merge(result)


def emoji_style_bases(path):
    bases = []
    with open(path, encoding="utf-8") as source:
        for line in source:
            match = re.match(r"^([0-9A-F]{4,6}) FE0F\s*;\s*emoji style", line)
            if match:
                point = int(match.group(1), 16)
                bases.append((point, point))
    return merge(bases)


def cells(ucd):
    wide, version = read_ranges(os.path.join(ucd, "EastAsianWidth.txt"), {"W", "F"})
    wide += [(0x3400, 0x4DBF), (0x4E00, 0x9FFF), (0xF900, 0xFAFF), (0x20000, 0x2FFFD), (0x30000, 0x3FFFD)]
    emoji = os.path.join(ucd, "emoji", "emoji-data.txt")
    presentation, _ = read_ranges(emoji, {"Emoji_Presentation"})
    modifiers, _ = read_ranges(emoji, {"Emoji_Modifier"})
    pictographic, _ = read_ranges(emoji, {"Extended_Pictographic"})
    extend, break_version = read_ranges(
        os.path.join(ucd, "auxiliary", "GraphemeBreakProperty.txt"), {"Extend", "ZWJ"})
    ignorable, core_version = read_ranges(
        os.path.join(ucd, "DerivedCoreProperties.txt"), {"Default_Ignorable_Code_Point"})
    jamo, jamo_version = read_ranges(os.path.join(ucd, "HangulSyllableType.txt"), {"V", "T"})
    if not (version == break_version == core_version == jamo_version):
        sys.exit("mixed Unicode versions: %s %s %s %s" % (version, break_version, core_version, jamo_version))
    style = emoji_style_bases(os.path.join(ucd, "emoji", "emoji-variation-sequences.txt"))

    out = sys.stdout
    out.write("// Generated by tools/gen_unicode_tables.py --cells from the Unicode Character Database %s\n" % version)
    out.write("// and its emoji data. Do not edit. What each table holds: the script's description.\n")
    write_table(out, "WIDE", merge(without_surrogates(wide + presentation)))
    write_table(out, "ZERO_WIDTH", minus(merge(extend + ignorable + jamo), modifiers))
    write_table(out, "EXTEND", merge(extend))
    write_table(out, "PICTOGRAPHIC", merge(pictographic))
    write_table(out, "EMOJI_STYLE", style)


def invisible_classes(ucd, general_categories):
    """The code points of the given general categories, those that are Default_Ignorable_Code_Point
    or Grapheme_Extend, and the White_Space ones, from one Unicode version; and that version."""
    categories, version = read_ranges(os.path.join(ucd, "extracted", "DerivedGeneralCategory.txt"), general_categories)
    core, core_version = read_ranges(
        os.path.join(ucd, "DerivedCoreProperties.txt"),
        {"Default_Ignorable_Code_Point", "Grapheme_Extend"})
    white, white_version = read_ranges(os.path.join(ucd, "PropList.txt"), {"White_Space"})
    if not (version == core_version == white_version):
        sys.exit("mixed Unicode versions: %s %s %s" % (version, core_version, white_version))
    return categories, core, white, version


def invisible(ucd):
    categories, core, white, version = invisible_classes(ucd, {"Cf"})
    out = sys.stdout
    out.write("// Generated by tools/gen_unicode_tables.py --invisible from the Unicode Character Database %s.\n" % version)
    out.write("// Do not edit. Code points that show nothing on their own: White_Space, general category Cf,\n")
    out.write("// Default_Ignorable_Code_Point, Grapheme_Extend.\n")
    write_table(out, "INVISIBLE_RANGES", merge(without_surrogates(categories + core + white)))


def white_space(ucd):
    white, version = read_ranges(os.path.join(ucd, "PropList.txt"), {"White_Space"})
    out = sys.stdout
    out.write("// Generated by tools/gen_unicode_tables.py --white-space from the Unicode Character Database %s.\n"
              % version)
    out.write("// Do not edit. The code points of the White_Space property.\n")
    write_table(out, "WHITE_SPACE_RANGES", merge(white))


def main():
    args = sys.argv[1:]
    if args and args[0] == "--invisible":
        invisible(args[1] if len(args) > 1 else "/usr/share/unicode")
        return
    if args and args[0] == "--white-space":
        white_space(args[1] if len(args) > 1 else "/usr/share/unicode")
        return
    if args and args[0] == "--cells":
        cells(args[1] if len(args) > 1 else "/usr/share/unicode")
        return
    ucd = args[0] if args else "/usr/share/unicode"
    categories, core, white, version = invisible_classes(ucd, {"Cc", "Cf", "Co", "Cn"})
    escaped = merge(without_surrogates(categories + core + without(white, 0x20)))

    out = sys.stdout
    out.write("// Generated by tools/gen_unicode_tables.py from the Unicode Character Database %s.\n" % version)
    out.write("// Do not edit. Code points that the quoted form writes as \\u{...}: general categories\n")
    out.write("// Cc, Cf, Co, Cn; White_Space except U+0020; Default_Ignorable_Code_Point; Grapheme_Extend.\n")
    out.write("inline constexpr char UNICODE_VERSION[] = \"%s\";\n" % version)
    out.write("inline constexpr CodeRange ESCAPED_RANGES[] = {\n")
    for index in range(0, len(escaped), 4):
        row = ", ".join("{0x%X, 0x%X}" % pair for pair in escaped[index:index + 4])
        out.write("    %s,\n" % row)
    out.write("};\n")


if __name__ == "__main__":
    main()
