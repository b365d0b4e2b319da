#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "hex/hex.h"
#include "model_store/embedded_key.h"
#include "model_store_internal.h"
#include "support/dev_signer.h"

namespace mt {
namespace {

using testing::from_hex;

const std::string ODD = "нечётная длина hex-строки";
const std::string INVALID = "invalid digit found in string";
const std::string KEY_LINE = "[models] публичный ключ не hex/32 байта — каталог отклонён\n";
const std::string REJECTED = "messages: подпись ленты не подтверждена — отклонена";

// A row is an input and either the bytes it decodes to (as plain hex) or the exact error text.
struct HexRow {
    std::string text;
    std::string bytes;
    std::string error;
};

template <class Decoder>
void expect_rows(const std::vector<HexRow>& rows, Decoder decode) {
    for (const HexRow& row : rows) {
        const auto decoded = decode(row.text);
        if (row.error.empty()) {
            ASSERT_TRUE(decoded) << row.text << ": " << decoded.error().text;
            EXPECT_EQ(std::vector<std::uint8_t>(decoded->begin(), decoded->end()), from_hex(row.bytes)) << row.text;
        } else {
            ASSERT_FALSE(decoded) << row.text;
            EXPECT_EQ(decoded.error().text, row.error) << row.text;
        }
    }
}

TEST(DecodeHex, BytesOrExactError) {
    const std::vector<HexRow> rows = {
        {"AbCd", "abcd", ""},  // cases mix, also within a pair
        {"0123456789abcdefABCDEF", "0123456789abcdefabcdef", ""},
        {"  ab \n", "ab", ""},
        {"\u3000\u00a0ab\u2029", "ab", ""},  // Unicode white space is trimmed too
        {"", "", ""},
        {" \t\r\n ", "", ""},
        {"abc", "", ODD},
        {"ab  cd", "", INVALID},  // the second pair is two spaces
        {"ab cd", "", ODD},
        {"+a", "", INVALID},
        {"-a", "", INVALID},
        {"ag", "", INVALID},
        {"0x00", "", INVALID},
        {"a\u00a0b", "", INVALID},    // inner white space is not trimmed
        {"\u00e9", "", INVALID},      // one two-byte character
        {"1\u00e91", "", INVALID},    // a pair boundary inside a character
        {"\u00e9a", "", ODD},         // a two-byte character and a digit
        {"ab\xff\xfe", "", INVALID},  // not UTF-8 at all
        {std::string("a\0", 2), "", INVALID},
        {"\xc2", "", ODD},  // a lone lead byte is not trimmed away
    };
    expect_rows(rows, decode_hex);
}

TEST(DecodeHex32, ExactlySixtyFourDigitsAfterTrimming) {
    const std::string key = testing::dev_public_key_hex();
    const std::vector<HexRow> rows = {
        {key, key, ""},
        {key + "\n", key, ""},
        {"\t " + key + "\r\n", key, ""},
        {key + "00", "", "ожидалось 64 hex-символа, получено 66"},
        {key.substr(1), "", "ожидалось 64 hex-символа, получено 63"},
        {"", "", "ожидалось 64 hex-символа, получено 0"},
        {key.substr(1) + "\u00e9", "", "ожидалось 64 hex-символа, получено 65"},  // counted in bytes
        {key.substr(2) + "\u00e9", "", INVALID},
    };
    expect_rows(rows, decode_hex32);
}

// What load_pubkey writes on a stream, and its key.
struct Loaded {
    std::optional<VerifyingKey> key;
    std::string diagnostics;
};

Loaded load_capturing(std::string_view key_text) {
    std::FILE* stream = std::tmpfile();
    if (stream == nullptr) return {};
    Loaded loaded{load_pubkey(key_text, stream), ""};
    std::rewind(stream);
    char buffer[256];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;) loaded.diagnostics.append(buffer, n);
    std::fclose(stream);
    return loaded;
}

TEST(LoadPubkey, KeyTextThatDoesNotDecodeWritesOneLineAndRefusesEveryFeed) {
    const std::string key = testing::dev_public_key_hex();
    const std::string feed = "{\"schema\":1}";
    const std::string signature = testing::dev_sign_hex(feed);
    for (const std::string& text : {key.substr(1), std::string(), key + "0", key.substr(0, 63) + "g",
                                    std::string("\"\\\"") + key.substr(3), key.substr(0, 32) + "\n" + key.substr(32)}) {
        const Loaded loaded = load_capturing(text);
        EXPECT_FALSE(loaded.key) << text;
        EXPECT_EQ(loaded.diagnostics, KEY_LINE) << text;
        const auto verified = verify_feed_signature(loaded.key, feed, signature);
        ASSERT_FALSE(verified) << text;
        EXPECT_EQ(verified.error().text, REJECTED);
    }
}

TEST(LoadPubkey, GoodKeyTextGivesItsBytesSilently) {
    const auto expected = testing::dev_public_key();
    for (const std::string& text : {testing::dev_public_key_hex(), " " + testing::dev_public_key_hex() + "\n"}) {
        const Loaded loaded = load_capturing(text);
        ASSERT_TRUE(loaded.key) << text;
        EXPECT_EQ(loaded.key->bytes, expected);
        EXPECT_EQ(loaded.diagnostics, "");
    }
}

TEST(LoadPubkey, PointThatDoesNotDecodeIsLeftToVerificationWithoutALine) {
    // y = 2 is below p but no x satisfies the curve equation for it.
    const std::string undecodable = "02" + std::string(62, '0');
    const Loaded loaded = load_capturing(undecodable);
    ASSERT_TRUE(loaded.key);
    EXPECT_EQ(loaded.diagnostics, "");
    const std::string feed = "{}";
    const auto verified = verify_feed_signature(loaded.key, feed, testing::dev_sign_hex(feed));
    ASSERT_FALSE(verified);
    EXPECT_EQ(verified.error().text, REJECTED);
}

}  // namespace
}  // namespace mt
