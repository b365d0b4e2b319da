// Feed acceptance: authenticity before anything else, so no byte of an unsigned or tampered
// feed ever reaches the JSON reader.
#include "verify_feed/verify_feed.h"

#include "model_store/embedded_key.h"
#include "signature/signature.h"

namespace mt {

Result<Feed> verify_feed(std::string_view feed_bytes, std::string_view signature_text) {
    // The key is decoded on every call: nothing is cached between feeds.
    const std::optional<VerifyingKey> key = load_models_pubkey();
    if (auto verified = verify_feed_signature(key, feed_bytes, signature_text); !verified)
        return std::unexpected(std::move(verified.error()));
    return accept_unauthenticated_document(feed_bytes);
}

}  // namespace mt
