// Writes the largest realistic feed and its development signature, for end-to-end timing:
//   make_feed FEED_PATH           (the signature goes to FEED_PATH.sig)
//   make_feed --draft DRAFT_PATH  (its draft with a mistake in every message, for --fix; unsigned)
#include <cstdio>
#include <string>

#include "support/dev_signer.h"
#include "support/sample_feeds.h"

namespace {

bool write_file(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--draft") {
        if (!write_file(argv[2], mt::testing::largest_realistic_draft())) {
            std::perror(argv[2]);
            return 1;
        }
        return 0;
    }
    if (argc != 2) {
        std::fputs("usage: make_feed FEED_PATH | make_feed --draft DRAFT_PATH\n", stderr);
        return 2;
    }
    const std::string feed = mt::testing::largest_realistic_feed();
    const std::string path = argv[1];
    if (!write_file(path, feed) || !write_file(path + ".sig", mt::testing::dev_sign_hex(feed) + "\n")) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
