#include "common/digits.h"
#include "messages/records.h"

namespace mt {

std::string feed_too_large_text(std::string_view path, std::size_t size) {
    return std::string(path) + " — " + decimal(size) + " байт больше " + decimal(MAX_FEED_BYTES / 1024) +
           " КиБ, отклонено до парсинга";
}

}  // namespace mt
