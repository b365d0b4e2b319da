#include "messages/read_error.h"

#include "common/digits.h"

namespace mt {

std::string ReadError::text() const {
    std::string out = message;
    out += " at line ";
    append_decimal(out, line);
    out += " column ";
    append_decimal(out, column);
    return out;
}

}  // namespace mt
