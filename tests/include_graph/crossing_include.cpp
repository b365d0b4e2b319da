// Compiled by the include-graph test in two targets: one that links the messages block, where
// it must build, and one that links only the signature gate, which sits beside the messages
// block, not above it, so the build must refuse the include.
#include "messages/messages.h"

std::size_t probe_message_limit() { return mt::MAX_MESSAGES; }
