#include "lint/plural.h"

#include "common/digits.h"

namespace mt::lint {

std::string count_of(std::size_t n, std::string_view one, std::string_view few, std::string_view many) {
    const std::size_t tens = n % 100, units = n % 10;
    const std::string_view word = tens >= 11 && tens <= 14   ? many
                                  : units == 1               ? one
                                  : units >= 2 && units <= 4 ? few
                                                             : many;
    return decimal(n) + " " + std::string(word);
}

}  // namespace mt::lint
