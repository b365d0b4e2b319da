// mt-dev-sign FILE...: writes FILE.sig for each FILE, signed with the development seed, so that a
// messages-tool built with the development key accepts it. For trying feeds out and for tests;
// never installed, and never for a real feed: the development seed is public.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "support/dev_signer.h"

constexpr std::size_t MAX_BYTES = 65536;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: dev-sign FILE...\n", stderr);
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string path = argv[i];
        // At most one byte more than a feed may have: a larger file (or one without end) would be
        // refused before its signature is looked at.
        std::string bytes(MAX_BYTES + 1, '\0');
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "[dev-sign] не читаю %s: %s\n", path.c_str(), std::strerror(errno));
            status = 2;
            continue;
        }
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        if (in.bad() || bytes.size() > MAX_BYTES) {
            std::fprintf(stderr, "[dev-sign] %s: %s\n", path.c_str(),
                         in.bad() ? "ошибка чтения" : "больше 64 КиБ, messages-tool отклонит такую ленту до проверки подписи");
            status = 2;
            continue;
        }
        std::ofstream out(path + ".sig", std::ios::binary);
        out << mt::testing::dev_sign_hex(bytes) << '\n';
        if (!out.flush()) {
            std::fprintf(stderr, "[dev-sign] не пишу %s.sig\n", path.c_str());
            status = 2;
            continue;
        }
        std::fprintf(stderr,
                     "[dev-sign] %s.sig подписан КЛЮЧОМ РАЗРАБОТКИ (tests/keys): его примет только messages-tool, "
                     "собранный с ключом разработки, а не боевая сборка\n",
                     path.c_str());
    }
    return status;
}
