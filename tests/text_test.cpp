#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "common/cells.h"
#include "common/escape.h"
#include "common/utf8.h"
#include "common/white_space.h"

namespace mt {
namespace {

std::string utf8(char32_t value) {
    std::string out;
    append_utf8(out, value);
    return out;
}

const std::vector<char32_t> WHITE_SPACE = {0x09,   0x0A,   0x0B,   0x0C,   0x0D,   0x20,   0x85,   0xA0,   0x1680,
                                           0x2000, 0x2001, 0x2002, 0x2003, 0x2004, 0x2005, 0x2006, 0x2007, 0x2008,
                                           0x2009, 0x200A, 0x2028, 0x2029, 0x202F, 0x205F, 0x3000};

TEST(Trim, RemovesEveryWhiteSpaceCharacterAtBothEndsOnly) {
    for (char32_t w : WHITE_SPACE) {
        const std::string s = utf8(w);
        EXPECT_EQ(trim_white_space(s + s + "a" + s + "b" + s), "a" + s + "b") << std::hex << static_cast<unsigned>(w);
        EXPECT_EQ(trim_white_space(s), "") << std::hex << static_cast<unsigned>(w);
    }
}

TEST(Trim, KeepsCharactersThatOnlyLookBlank) {
    // Zero-width space, byte-order mark and Mongolian vowel separator are not White_Space, nor
    // are the neighbours of its ranges.
    for (char32_t c : {U'\u200B', U'\uFEFF', U'\u180E', U'\u00AD', U'\u0008', U'\u001F', U'!', U'\u0084', U'\u0086',
                       U'\u00A1', U'\u167F', U'\u1681', U'\u2027', U'\u205E', U'\u3001'}) {
        const std::string s = utf8(c);
        EXPECT_EQ(trim_white_space(s + "x" + s), s + "x" + s) << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_EQ(trim_white_space(""), "");
}

TEST(Trim, StopsAtInvalidUtf8) {
    EXPECT_EQ(trim_white_space(" \xff "), "\xff");
    EXPECT_EQ(trim_white_space("a \xc2"), "a \xc2");  // truncated U+00A0 is not white space
    EXPECT_EQ(trim_white_space("\x85 a"), "\x85 a");  // a bare continuation byte is not U+0085
    EXPECT_EQ(trim_white_space("a\xe2\x80"), "a\xe2\x80");
}

struct QuotedRow {
    std::string text;
    std::string quoted;
};

TEST(QuotedForm, EscapesExactlyTheUnprintableClasses) {
    const std::vector<QuotedRow> rows = {
        {"", R"("")"},
        {"plain id-1_x", R"("plain id-1_x")"},
        {"say \"hi\"", R"("say \"hi\"")"},
        {"a\\b", R"("a\\b")"},
        {std::string("a\0b", 3), R"("a\0b")"},
        {"\t\n\r", R"("\t\n\r")"},
        {"\x01\x1f\x7f", R"("\u{1}\u{1f}\u{7f}")"},
        {"\u0085", R"("\u{85}")"},                                    // next line: control and White_Space
        {"a\u200Bb", R"("a\u{200b}b")"},                              // zero-width space: format
        {"\u00A0", R"("\u{a0}")"},                                    // no-break space: White_Space
        {"\u3000\u2028", R"("\u{3000}\u{2028}")"},                    // ideographic space, line separator
        {"e\u0301", R"("e\u{301}")"},                                 // combining acute: Grapheme_Extend
        {"\u200D", R"("\u{200d}")"},                                  // zero-width joiner
        {"\U000E0001\U000E0100", R"("\u{e0001}\u{e0100}")"},          // tag, variation selector
        {"\uE000\U0010FFFD", R"("\u{e000}\u{10fffd}")"},              // private use
        {"\u0378\U0003FFFF\uFFFF", R"("\u{378}\u{3ffff}\u{ffff}")"},  // unassigned
        {"\x1b[2J", R"("\u{1b}[2J")"},
        {"it's", R"("it's")"},
        {"Привет, мир", R"("Привет, мир")"},
        {"🎉 ok ✓", R"("🎉 ok ✓")"},
        {"中文", R"("中文")"},
        {"\xff", "\"\uFFFD\""},  // invalid input is shown, not passed through raw
    };
    for (const auto& row : rows) EXPECT_EQ(quoted_form(row.text), row.quoted) << row.text;
}

TEST(QuotedForm, BareEscapeKeepsQuotesAndBackslashes) {
    EXPECT_EQ(escape_unprintable("a\x1b[2J"), R"(a\u{1b}[2J)");
    EXPECT_EQ(escape_unprintable("k\"e\\y\n"), R"(k"e\y\n)");
    EXPECT_EQ(escape_unprintable("open_settings"), "open_settings");
}

TEST(EscapeControls, EscapesOnlyWhatBreaksTheLineOrDrivesATerminal) {
    const std::vector<QuotedRow> rows = {
        {"cafe\u0301.json", "cafe\u0301.json"},                        // combining mark stands
        {"\U0001F469\u200D\U0001F4BB", "\U0001F469\u200D\U0001F4BB"},  // joiner stands
        {"a\nb\x1b[2J\x7f\u0085", R"(a\nb\u{1b}[2J\u{7f}\u{85})"},     // line feed, C0, DEL, C1
        {"\u202Egnp.exe\u2066", R"(\u{202e}gnp.exe\u{2066})"},         // bidirectional controls
    };
    for (const auto& row : rows) EXPECT_EQ(escape_controls(row.text), row.quoted) << row.text;
}

struct Utf8Row {
    std::string bytes;
    std::size_t valid_prefix;
    std::string lossy;
    std::size_t characters;  // each byte that begins no valid character counts one
    std::size_t last_start;  // where the character the last byte falls in begins, a cut one too
};

TEST(Utf8, ValidatesAndReplacesMaximalInvalidParts) {
    const std::string R = "\uFFFD";
    const std::vector<Utf8Row> rows = {
        {"", 0, "", 0, 0},
        {"abc", 3, "abc", 3, 2},
        {"\xd0\x96\xe2\x82\xac\xf0\x9f\x98\x80", 9, "Ж€😀", 3, 5},
        {"\xc3", 0, R, 1, 0},                          // truncated two-byte
        {"a\xe2\x82", 1, "a" + R, 3, 1},               // truncated three-byte: one replacement
        {"\xf0\x9f\x98", 0, R, 3, 0},                  // truncated four-byte
        {"\xc0\xaf", 0, R + R, 2, 1},                  // overlong '/'
        {"\xe0\x80\xaf", 0, R + R + R, 3, 2},          // overlong three-byte
        {"\xf0\x8f\xbf\xbf", 0, R + R + R + R, 4, 3},  // overlong four-byte
        {"\xed\xa0\x80", 0, R + R + R, 3, 2},          // surrogate U+D800
        {"\xed\xbf\xbf", 0, R + R + R, 3, 2},          // surrogate U+DFFF
        {"\xed\x9f\xbf", 3, "\uD7FF", 1, 0},           // last scalar before surrogates
        {"\xf4\x90\x80\x80", 0, R + R + R + R, 4, 3},  // above U+10FFFF
        {"\xf4\x8f\xbf\xbf", 4, "\U0010FFFF", 1, 0},
        {"\x80", 0, R, 1, 0},  // stray continuation
        {"\xfe\xff", 0, R + R, 2, 1},
        {"ok\xe2\x28\xa1", 2, "ok" + R + "(" + R, 5, 4},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(is_valid_utf8(row.bytes), row.valid_prefix == row.bytes.size()) << testing::PrintToString(row.bytes);
        // The prefix that is valid must validate on its own: the decoder stops at the right byte.
        EXPECT_TRUE(is_valid_utf8(row.bytes.substr(0, row.valid_prefix)));
        EXPECT_EQ(decode_utf8_lossy(row.bytes), row.lossy) << testing::PrintToString(row.bytes);
        EXPECT_EQ(count_characters(row.bytes), row.characters) << testing::PrintToString(row.bytes);
        EXPECT_EQ(character_start(row.bytes, std::max<std::size_t>(row.bytes.size(), 1) - 1), row.last_start)
            << testing::PrintToString(row.bytes);
    }
    // A view that ends inside a character: the bytes after the view are never looked at.
    const std::string cut = "a\xd0\x96";
    EXPECT_EQ(decode_utf8_lossy(std::string_view(cut).substr(0, 2)), "a" + R);
}

TEST(Utf8, EncodesEveryLengthAndDecodesBack) {
    for (char32_t value : {U'\0', U'\x7f', U'\x80', U'\u07ff', U'\u0800', U'\uffff', U'\U00010000', U'\U0010ffff'}) {
        const std::string s = utf8(value);
        EXPECT_TRUE(is_valid_utf8(s));
        EXPECT_EQ(decode_utf8_lossy(s), s);
    }
    EXPECT_EQ(utf8(U'\u0416'), "Ж");
    EXPECT_EQ(utf8(U'\U0001F600'), "😀");
}

// The cells of a whole text, cluster by cluster, as a caret under it counts them.
std::size_t cells_of(std::string_view text) {
    std::size_t cells = 0;
    for (Cluster cluster; !text.empty(); text.remove_prefix(cluster.length)) {
        cluster = first_cluster(text);
        cells += cluster.cells;
    }
    return cells;
}

// Terminal cells, cluster by cluster: what each kind of character takes, and which sequences
// count as one cluster.
TEST(Cells, CountsTerminalCellsOfClusters) {
    struct Row {
        std::string text;
        std::size_t cells;
        std::size_t first_cluster_bytes;
    };
    const std::vector<Row> rows = {
        {"abc", 3, 1},
        {"Ё", 1, 2},
        {"中文", 4, 3},
        {"\uFF21", 2, 3},                                       // fullwidth A
        {"\U0001F389", 2, 4},                                   // emoji presentation by default
        {"\u2764", 1, 3},                                       // text presentation by default ...
        {"\u2764\uFE0F", 2, 6},                                 // ... emoji with U+FE0F
        {"\u4E2D\uFE0F", 2, 6},                                 // no emoji style: the selector adds nothing
        {"1\uFE0F\u20E3", 2, 7},                                // keycap
        {"\U0001F468\u200D\U0001F469\u200D\U0001F467", 2, 18},  // joined family
        {"a\u200D\U0001F469", 3, 4},                            // a joiner after a letter joins nothing
        {"\U0001F44D\U0001F3FD", 2, 8},                         // skin tone modifier
        {"\U0001F1F7\U0001F1FA\U0001F1F7", 4, 8},               // a flag, then a lone indicator
        {"\U0001F1E6\U0001F1FF", 2, 8},                         // the first and last indicators
        {"\U0001F1E5\U0001F1E6", 3, 4},                         // unassigned, then an indicator
        {"\U0001F1FF\U0001F200", 4, 4},                         // an indicator, then a square ideograph
        {"\u2764\u200D\U0001F525", 2, 10},                      // a text-style pictograph joined
        {"\u0435\u0301", 1, 4},                                 // combining acute accent
        {"\u0301", 0, 2},
        {"a\u200Bb\uFEFF", 2, 1},      // default-ignorable
        {"\u1100\u1161\u11A8", 2, 3},  // Hangul jamo: wide lead, zero vowel and final
        {"\x01\x7F", 0, 1},
        {"~\x1F\u009F\u00A0", 2, 1},  // the edges of C0 and C1
        {"\xFF\xE2\x82", 3, 1},       // bytes that begin no character: one each
        {"\xFF\u0301", 1, 1},         // ... and none carries an accent
    };
    for (const Row& row : rows) {
        EXPECT_EQ(cells_of(row.text), row.cells) << ::testing::PrintToString(row.text);
        EXPECT_EQ(first_cluster(row.text).length, row.first_cluster_bytes) << ::testing::PrintToString(row.text);
    }
}

}  // namespace
}  // namespace mt
