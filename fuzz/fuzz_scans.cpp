// The reader's and the rules' fast scans against their byte-by-byte references on the same
// bytes: the string scan must stop where the reference stops and may claim well-formed UTF-8
// only where the reference finds it; the text scan must count and flag exactly as the
// reference does.
#include <cstdint>
#include <string>

#include "common/utf8.h"
#include "invariants.h"
#include "messages_internal.h"
#include "support/scalar_scans.h"

using namespace mt::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses where the run starts; the rest are the bytes scanned.
    const std::string_view bytes = as_text(data + 1, size - 1);
    const std::size_t from = bytes.empty() ? 0 : data[0] % bytes.size();
    const mt::PlainRun fast = mt::plain_run(bytes, from);
    const mt::PlainRun reference = mt::testing::plain_run_scalar(bytes, from);
    require(fast.end == reference.end, "string scan stops at the same byte");
    require(!fast.valid_utf8 || reference.valid_utf8, "string scan proves only well-formed runs");

    // Texts reach the rules decoded, so they are valid UTF-8.
    const std::string text = mt::decode_utf8_lossy(bytes);
    require(mt::examine_text(text) == mt::testing::examine_text_scalar(text), "text scan matches its reference");
    return 0;
}
