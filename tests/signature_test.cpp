#include "signature/signature.h"

#include <gtest/gtest.h>
#include <sodium.h>
#include <string>
#include <vector>

#include "support/dev_signer.h"

namespace mt {
namespace {

using testing::from_hex;

using Point = std::array<std::uint8_t, 32>;  // a point as its 32-byte encoding
using Scalar = std::array<std::uint8_t, 32>;
using Signature = std::array<std::uint8_t, 64>;

const std::string REJECTED = "messages: подпись ленты не подтверждена — отклонена";

std::array<std::uint8_t, 32> bytes32(std::string_view digits) {
    const auto bytes = from_hex(digits);
    std::array<std::uint8_t, 32> out{};
    std::copy(bytes.begin(), bytes.end(), out.begin());
    return out;
}

// Group order L and a point of order 8, whose multiples are all eight points of small order.
const Scalar L = bytes32("edd3f55c1a631258d69cf7a2def9de1400000000000000000000000000000010");
const Point TORSION = bytes32("26e8958fc2b227b045c3f489f2ef98f0d5dfac05d3c63339b13802886d53fc05");
const Point IDENTITY = {1};

Scalar small(unsigned value) { return {static_cast<std::uint8_t>(value)}; }

Scalar reduce64(const std::uint8_t* wide) {
    Scalar r{};
    crypto_core_ed25519_scalar_reduce(r.data(), wide);
    return r;
}

// A nonce that is the same on every run, so a failure can be replayed.
Scalar fixed_nonce(std::string_view label) {
    std::uint8_t digest[64];
    crypto_hash_sha512(digest, reinterpret_cast<const unsigned char*>(label.data()), label.size());
    return reduce64(digest);
}

Point add(const Point& p, const Point& q) {
    Point r{};
    if (crypto_core_ed25519_add(r.data(), p.data(), q.data()) != 0) ADD_FAILURE() << "a point does not decode";
    return r;
}

Point negate(const Point& p) {
    Point r{};
    if (crypto_core_ed25519_sub(r.data(), IDENTITY.data(), p.data()) != 0) ADD_FAILURE() << "a point does not decode";
    return r;
}

// [n]P for any point and any 256-bit n, by double-and-add over libsodium's group law: its own
// multiplications refuse points outside the prime-order subgroup and scalars that are not reduced.
Point multiply(const Scalar& n, const Point& p) {
    Point acc = IDENTITY;
    for (int bit = 255; bit >= 0; --bit) {
        acc = add(acc, acc);
        if ((n[bit / 8] >> (bit % 8)) & 1) acc = add(acc, p);
    }
    return acc;
}

Point base_multiple(const Scalar& n) {
    Point r{};
    if (crypto_scalarmult_ed25519_base_noclamp(r.data(), n.data()) != 0) ADD_FAILURE() << "zero multiple of B";
    return r;
}

const Point B = base_multiple(small(1));

// k = SHA-512(R || A || M) mod L.
Scalar challenge(const Point& r_bytes, const Point& key_bytes, std::string_view message) {
    crypto_hash_sha512_state state;
    crypto_hash_sha512_init(&state);
    crypto_hash_sha512_update(&state, r_bytes.data(), 32);
    crypto_hash_sha512_update(&state, key_bytes.data(), 32);
    crypto_hash_sha512_update(&state, reinterpret_cast<const unsigned char*>(message.data()), message.size());
    std::uint8_t digest[64];
    crypto_hash_sha512_final(&state, digest);
    return reduce64(digest);
}

// The development key's clamped secret scalar a, reduced mod L; its public key is [a]B.
Scalar dev_scalar() {
    const auto seed = testing::dev_seed();
    std::uint8_t digest[64];
    crypto_hash_sha512(digest, seed.data(), seed.size());
    digest[0] &= 248;
    digest[31] = static_cast<std::uint8_t>((digest[31] & 127) | 64);
    std::fill(digest + 32, digest + 64, 0);
    return reduce64(digest);
}

Signature join(const Point& r, const Scalar& s) {
    Signature sig{};
    std::copy(r.begin(), r.end(), sig.begin());
    std::copy(s.begin(), s.end(), sig.begin() + 32);
    return sig;
}

Point r_of(const Signature& sig) {
    Point r{};
    std::copy(sig.begin(), sig.begin() + 32, r.begin());
    return r;
}

Scalar s_of(const Signature& sig) {
    Scalar s{};
    std::copy(sig.begin() + 32, sig.end(), s.begin());
    return s;
}

// A signature with nonce r and nonce point `r_point` (normally [r]B): S = r + k·a mod L.
Signature sign_with(const Scalar& a, const Point& key_bytes, const Scalar& r, const Point& r_point,
                    std::string_view message) {
    const Scalar k = challenge(r_point, key_bytes, message);
    Scalar ka{}, s{};
    crypto_core_ed25519_scalar_mul(ka.data(), k.data(), a.data());
    crypto_core_ed25519_scalar_add(s.data(), r.data(), ka.data());
    return join(r_point, s);
}

// [S]B - [k]A, with A the key's point and `key_bytes` what is hashed.
Point equation_side(const Point& key_point, const Point& key_bytes, const Signature& sig, std::string_view message) {
    const Scalar k = challenge(r_of(sig), key_bytes, message);
    return add(multiply(s_of(sig), B), negate(multiply(k, key_point)));
}

bool equation_holds(const Point& key_point, const Point& key_bytes, const Signature& sig, std::string_view message) {
    return equation_side(key_point, key_bytes, sig, message) == r_of(sig);
}

// [8]([S]B - [k]A) = [8]R, the check of a cofactored verifier.
bool cofactored_equation_holds(const Point& key_point, const Signature& sig, std::string_view message) {
    return multiply(small(8), equation_side(key_point, key_point, sig, message)) == multiply(small(8), r_of(sig));
}

bool verifies(const Point& key, std::string_view message, const Signature& sig) {
    return verify_strict(VerifyingKey{key}, message, sig);
}

std::string as_text(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(VerifyStrict, Rfc8032VectorsVerifyAndOneFlippedBitFails) {
    struct Vector {
        std::string key, message, signature;
    };
    // RFC 8032, section 7.1: tests 1, 2, 3 and SHA(abc); signatures split as R, then S.
    const std::vector<Vector> vectors = {
        {"d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a", "",
         "e5564300c360ac729086e2cc806e828a84877f1eb8e5d974d873e06522490155"
         "5fb8821590a33bacc61e39701cf9b46bd25bf5f0595bbe24655141438e7a100b"},
        {"3d4017c3e843895a92b70aa74d1b7ebc9c982ccf2ec4968cc0cd55f12af4660c", "72",
         "92a009a9f0d4cab8720e820b5f642540a2b27b5416503f8fb3762223ebdb69da"
         "085ac1e43e15996e458f3613d0f11d8c387b2eaeb4302aeeb00d291612bb0c00"},
        {"fc51cd8e6218a1a38da47ed00230f0580816ed13ba3303ac5deb911548908025", "af82",
         "6291d657deec24024827e69c3abe01a30ce548a284743a445e3680d7db5ac3ac"
         "18ff9b538d16f290ae67f760984dc6594a7c15e9716ed28dc027beceea1ec40a"},
        {"ec172b93ad5e563bf4932c70e1245034c35467ef2efd4d64ebf819683467e2bf",
         "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
         "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f",
         "dc2a4459e7369633a52b1bf277839a00201009a3efbf3ecb69bea2186c26b589"
         "09351fc9ac90b3ecfdfbc7c66431e0303dca179c138ac17ad9bef1177331a704"},
    };
    for (const Vector& v : vectors) {
        const Point key = bytes32(v.key);
        const std::string message = as_text(from_hex(v.message));
        Signature sig{};
        const auto sig_bytes = from_hex(v.signature);
        std::copy(sig_bytes.begin(), sig_bytes.end(), sig.begin());
        EXPECT_TRUE(verifies(key, message, sig)) << v.key;

        // An empty message cannot lose a bit; gaining a byte is the same fault.
        std::string changed = message.empty() ? std::string(1, '\0') : message;
        if (!message.empty()) changed.back() = static_cast<char>(changed.back() ^ 1);
        EXPECT_FALSE(verifies(key, changed, sig)) << v.key;

        for (int bit : {0, 7, 130, 255, 256, 300, 500, 508}) {  // bits of R, then of S
            Signature flipped = sig;
            flipped[bit / 8] = static_cast<std::uint8_t>(flipped[bit / 8] ^ (1 << (bit % 8)));
            EXPECT_FALSE(verifies(key, message, flipped)) << v.key << " bit " << bit;
        }
    }
}

TEST(VerifyStrict, ScalarMustBeBelowTheGroupOrder) {
    const Point key = testing::dev_public_key();
    const std::string message = "{\"schema\":1}";
    const Signature good = testing::dev_sign(message);
    ASSERT_TRUE(verifies(key, message, good));

    Scalar s_plus_l{};  // S + L < 2^256, since S < L < 2^253
    unsigned carry = 0;
    for (std::size_t i = 0; i < 32; ++i) {
        carry += unsigned{good[32 + i]} + L[i];
        s_plus_l[i] = static_cast<std::uint8_t>(carry);
        carry >>= 8;
    }
    Scalar top_bit = s_of(good);
    top_bit[31] |= 0x80;

    const Signature plus_l = join(r_of(good), s_plus_l);
    // [S + L]B = [S]B: a verifier that reduced S would accept this one.
    ASSERT_TRUE(equation_holds(key, key, plus_l, message));
    for (const Signature& sig : {plus_l, join(r_of(good), L), join(r_of(good), top_bit)})
        EXPECT_FALSE(verifies(key, message, sig)) << testing::to_hex(sig.data() + 32, 32);
}

TEST(VerifyStrict, NeutralNonceIsRefusedThoughTheEquationHolds) {
    // R = neutral, S = k·a: then [S]B - [k]A = [ka]B - [k][a]B is the neutral element again.
    const Point key = testing::dev_public_key();
    const std::string message = "{\"schema\":1,\"revision\":7}";
    const Signature sig = sign_with(dev_scalar(), key, Scalar{}, IDENTITY, message);
    ASSERT_TRUE(equation_holds(key, key, sig, message));
    EXPECT_FALSE(verifies(key, message, sig));
}

TEST(VerifyStrict, NonceWithASmallOrderPartIsRefusedThoughACofactoredCheckPasses) {
    const Point key = testing::dev_public_key();
    const std::string message = "feed bytes";
    const Scalar r = fixed_nonce("mixed-order nonce");
    Point torsion = IDENTITY;
    for (int t = 0; t < 8; ++t, torsion = add(torsion, TORSION)) {
        // R = [r]B + [t]T; t = 0 is the honest signature and checks how the others are built.
        const Signature sig = sign_with(dev_scalar(), key, r, add(base_multiple(r), torsion), message);
        EXPECT_TRUE(cofactored_equation_holds(key, sig, message)) << t;
        EXPECT_EQ(equation_holds(key, key, sig, message), t == 0) << t;
        EXPECT_EQ(verifies(key, message, sig), t == 0) << t;
    }
}

// A signature that satisfies the bare equation under a small-order key P: S = 1 and
// R = B - [j]P, found by trying messages until k ≡ j modulo the order of P.
std::pair<Signature, std::string> forge_under(const Point& p) {
    for (int i = 0; i < 64; ++i) {
        const std::string message = "forged feed " + std::to_string(i);
        Point minus_jp = IDENTITY;
        for (int j = 0; j < 8; ++j, minus_jp = add(minus_jp, negate(p))) {
            const Signature sig = join(add(B, minus_jp), small(1));
            if (equation_holds(p, p, sig, message)) return {sig, message};
        }
    }
    ADD_FAILURE() << "no forgery found";
    return {};
}

TEST(VerifyStrict, SmallOrderKeyRefusesEvenSignaturesThatSatisfyTheEquation) {
    // With the neutral element as key, R = B and S = 1 satisfy [S]B - [k]A = R for any message.
    EXPECT_TRUE(equation_holds(IDENTITY, IDENTITY, join(B, small(1)), "x"));
    // The neutral element has other encodings: x = 0 with the sign bit set, and y = p + 1.
    const std::vector<Point> neutral_encodings = {
        IDENTITY, bytes32("0100000000000000000000000000000000000000000000000000000000000080"),
        bytes32("eeffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff7f"),
        bytes32("eeffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff")};
    for (const Point& key : neutral_encodings) {
        EXPECT_TRUE(equation_holds(IDENTITY, key, join(B, small(1)), "x"));
        EXPECT_FALSE(verifies(key, "x", join(B, small(1)))) << testing::to_hex(key.data(), 32);
    }
    Point key = IDENTITY;
    for (int t = 0; t < 8; ++t, key = add(key, TORSION)) {
        const auto [sig, message] = forge_under(key);
        EXPECT_FALSE(verifies(key, message, sig)) << t;
    }
}

TEST(VerifyStrict, MixedOrderKeyIsAcceptedWhenTheEquationHolds) {
    // A' = [a]B + T is not of small order, so the strict rules accept it; an honest signature
    // under it satisfies the equation exactly when [k]T vanishes, that is when 8 divides k.
    const Scalar a = dev_scalar();
    const Point key = add(testing::dev_public_key(), TORSION);
    const VerifyingKey verifying{key};
    const Scalar r = fixed_nonce("mixed-order key");
    const Point r_point = base_multiple(r);
    bool seen_accepted = false, seen_refused = false;
    for (int i = 0; i < 200 && !(seen_accepted && seen_refused); ++i) {
        const std::string message = "feed " + std::to_string(i);
        const bool divisible = challenge(r_point, key, message)[0] % 8 == 0;
        const Signature sig = sign_with(a, key, r, r_point, message);
        EXPECT_EQ(verify_strict(verifying, message, sig), divisible) << message;
        (divisible ? seen_accepted : seen_refused) = true;
    }
    EXPECT_TRUE(seen_accepted && seen_refused);
}

TEST(VerifyFeedSignature, SignatureTexts) {
    const std::string feed = "{\"schema\":1,\"revision\":3,\"messages\":[]}\n";
    const std::string hex = testing::dev_sign_hex(feed);
    std::string upper = hex;
    for (char& c : upper)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    const std::string tail = hex.substr(2);
    struct Row {
        std::string text;
        bool accepted;
    };
    const std::vector<Row> rows = {
        {hex, true},
        {hex + "\n", true},
        {hex + "\r\n", true},
        {" \t" + hex + "  \n", true},
        {"\u3000" + hex + "\u00a0", true},
        {upper, true},
        {hex.substr(0, 126), false},
        {hex.substr(0, 127), false},
        {hex + "00", false},
        {"", false},
        {hex.substr(0, 64) + " " + hex.substr(64), false},
        {hex.substr(0, 64) + "\n" + hex.substr(64), false},
        {"+a" + tail, false},
        {"-a" + tail, false},
        {"0x" + hex, false},
        {"\u00e9" + tail, false},
        {hex.substr(0, 126) + "\u00e9", false},
        {hex.substr(0, 125) + "\ufffd", false},  // what an invalid byte in the file becomes
        {testing::dev_sign_hex(feed + " "), false},
    };
    const std::optional<VerifyingKey> key = VerifyingKey{testing::dev_public_key()};
    for (const Row& row : rows) {
        const auto verified = verify_feed_signature(key, feed, row.text);
        EXPECT_EQ(verified.has_value(), row.accepted) << row.text;
        if (!verified) {
            EXPECT_EQ(verified.error().text, REJECTED) << row.text;
        }
    }
    // Without a key, the signature that verifies under the key is refused.
    const auto without_key = verify_feed_signature(std::nullopt, feed, hex);
    ASSERT_FALSE(without_key);
    EXPECT_EQ(without_key.error().text, REJECTED);
}

TEST(VerifyFeedSignature, OnlyTheExactSignedBytesVerify) {
    const std::string feed = "{\n  \"schema\": 1,\n  \"revision\": 2\n}\n";
    const std::string hex = testing::dev_sign_hex(feed);
    const std::optional<VerifyingKey> key = VerifyingKey{testing::dev_public_key()};
    ASSERT_TRUE(verify_feed_signature(key, feed, hex));
    for (const std::string& changed : {feed.substr(0, feed.size() - 1), feed + "\n", std::string("\xef\xbb\xbf") + feed,
                                       std::string("{\n\t\"schema\": 1,\n\t\"revision\": 2\n}\n"),
                                       std::string("{\r\n  \"schema\": 1,\r\n  \"revision\": 2\r\n}\r\n"),
                                       std::string("{\n  \"schema\": 1,\n  \"revision\": 3\n}\n"), std::string()}) {
        const auto verified = verify_feed_signature(key, changed, hex);
        ASSERT_FALSE(verified) << changed;
        EXPECT_EQ(verified.error().text, REJECTED);
    }
}

}  // namespace
}  // namespace mt
