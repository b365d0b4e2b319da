// Test-only signing program; it is never installed.
//   sign_feed SEED_HEX_FILE FEED        prints the detached signature of FEED's exact bytes
//                                       (128 hexadecimal digits and a line feed)
//   sign_feed --public-key SEED_HEX_FILE  prints the public key of the seed (64 digits)
// SEED_HEX_FILE holds a 32-byte Ed25519 seed as 64 hexadecimal digits, like tests/keys/*.hex.
// CI signs feeds for its throw-away key with it; real feeds are signed with models-tool.
#include <algorithm>
#include <array>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "support/dev_signer.h"

namespace {

constexpr std::string_view USAGE = "usage: sign_feed SEED_HEX_FILE FEED | sign_feed --public-key SEED_HEX_FILE\n";

std::optional<std::string> read_file(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return content.str();
}

std::optional<std::array<std::uint8_t, 32>> read_seed(const char* path) {
    const std::optional<std::string> text = read_file(path);
    if (!text) return std::nullopt;
    const std::size_t first = text->find_first_not_of(" \t\r\n");
    const std::size_t last = text->find_last_not_of(" \t\r\n");
    if (first == std::string::npos) return std::nullopt;
    const std::string_view digits = std::string_view(*text).substr(first, last - first + 1);
    if (digits.size() != 64 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
        return std::nullopt;
    const std::vector<std::uint8_t> bytes = mt::testing::from_hex(digits);
    std::array<std::uint8_t, 32> seed{};
    std::copy(bytes.begin(), bytes.end(), seed.begin());
    return seed;
}

int fail(const std::string& text) {
    std::cerr << "sign_feed: " << text << "\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << USAGE;
        return 2;
    }
    const bool public_key = std::string_view(argv[1]) == "--public-key";
    const char* seed_path = public_key ? argv[2] : argv[1];
    const auto seed = read_seed(seed_path);
    if (!seed) return fail(std::string(seed_path) + " does not hold 64 hexadecimal digits");

    if (public_key) {
        const auto key = mt::testing::public_key_of_seed(*seed);
        std::cout << mt::testing::to_hex(key.data(), key.size()) << "\n";
    } else {
        const std::optional<std::string> feed = read_file(argv[2]);
        if (!feed) return fail(std::string("cannot read ") + argv[2]);
        const auto signature = mt::testing::sign_with_seed(*seed, *feed);
        std::cout << mt::testing::to_hex(signature.data(), signature.size()) << "\n";
    }
    std::cout.flush();
    return std::cout ? 0 : fail("cannot write the output");
}
