// The tool's verdict on many feed documents, for the schema agreement test.
//
//   feed_oracle --limits        the fixed limits and kind names, one "NAME value" line each
//   feed_oracle SCRATCH.sig     reads document paths from standard input, one a line; signs
//                               each with the development key (the signature goes to
//                               SCRATCH.sig), checks it exactly as `messages-tool check` does
//                               and prints one line per path: "accepted", or the tool's line
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "messages-tool/cli.h"
#include "feed_files/limits.h"
#include "messages/messages.h"
#include "support/dev_signer.h"

namespace {

void print_limits() {
    std::cout << "SUPPORTED_SCHEMA " << mt::SUPPORTED_SCHEMA << "\nMIN_REVISION " << mt::MIN_REVISION
              << "\nMAX_MESSAGES " << mt::MAX_MESSAGES << "\nMAX_ID_BYTES " << mt::MAX_ID_BYTES << "\nMAX_PRIORITY "
              << unsigned{mt::MAX_PRIORITY} << "\nMAX_TITLE_CHARS " << mt::MAX_TITLE_CHARS << "\nMAX_BODY_CHARS "
              << mt::MAX_BODY_CHARS << "\nMAX_FEED_BYTES " << mt::MAX_FEED_BYTES << "\nMAX_SIG_BYTES "
              << mt::MAX_SIG_BYTES << "\nCTA_KIND_NAMES";
    for (const std::string_view name : mt::CTA_KIND_NAMES) std::cout << ' ' << name;
    std::cout << '\n';
}

bool read_file(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad() && in.is_open();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--limits") {
        print_limits();
        return 0;
    }
    if (argc != 2) {
        std::cerr << "usage: feed_oracle --limits | feed_oracle SCRATCH.sig < paths\n";
        return 2;
    }
    const std::string signature_path = argv[1];
    std::string path;
    std::string bytes;
    while (std::getline(std::cin, path)) {
        if (!read_file(path, bytes)) {
            std::cerr << "feed_oracle: cannot read " << path << '\n';
            return 2;
        }
        std::ofstream(signature_path, std::ios::binary | std::ios::trunc) << mt::testing::dev_sign_hex(bytes);
        const mt::Outcome outcome = mt::run_check(mt::CheckRequest{path, signature_path});
        std::string verdict = outcome.status == 0 ? "accepted" : outcome.err;
        while (!verdict.empty() && verdict.back() == '\n') verdict.pop_back();
        std::cout << verdict << '\n';
    }
    return std::cout.flush() ? 0 : 2;
}
