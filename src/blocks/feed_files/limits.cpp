#include "feed_files/limits.h"

#include "common/digits.h"

namespace mt {

std::string signature_too_large_text(std::string_view path, std::uint64_t length) {
    return std::string(path) + " — " + decimal(length) + " байт больше 512, не похоже на подпись";
}

}  // namespace mt
