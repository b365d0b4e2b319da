// Full acceptance on inputs signed with the development seed inside the target: a correct
// signature hands the bytes to exactly the post-signature steps, and any other signature text
// is refused with the one signature text before the bytes are read.
#include <cstdint>
#include <string>

#include "invariants.h"
#include "messages/messages.h"
#include "verify_feed/verify_feed.h"
#include "support/dev_signer.h"

using namespace mt::fuzz;

namespace {

const std::string SIGNATURE_REJECTED = "messages: подпись ленты не подтверждена — отклонена";

std::string outcome(const mt::Result<mt::Feed>& feed) { return feed ? "accepted" : feed.error().text; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = as_text(data, size);
    const std::string signature = mt::testing::dev_sign_hex(bytes);

    const auto accepted = mt::verify_feed(bytes, signature);
    const auto expected = mt::accept_unauthenticated_document(bytes);
    require(outcome(accepted) == outcome(expected), "a good signature changes nothing", outcome(accepted));
    if (accepted) require(*accepted == *expected, "same records");

    // One flipped bit anywhere in the signature, chosen by the input.
    std::string forged = signature;
    const std::size_t at = size ? data[0] % forged.size() : 0;
    forged[at] = forged[at] == '0' ? '1' : '0';
    require(outcome(mt::verify_feed(bytes, forged)) == SIGNATURE_REJECTED, "a forged signature is refused");
    return 0;
}
