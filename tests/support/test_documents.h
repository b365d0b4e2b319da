// The feed documents that tests hold, collected for checks that run over all of them (the
// schema agreement test, property tests of other front ends).
//
// Recording does nothing unless the environment variable MT_TEST_DOCUMENT_DIR names a
// directory; then each document is written there whole, in a file named after a hash of its
// bytes, so a document that several tests use is one file. A failed write aborts the program:
// a collection that silently misses documents would prove less than it claims.
#pragma once

#include <string_view>

#include "messages/messages.h"

namespace mt::testing {

inline constexpr const char* TEST_DOCUMENT_DIR_VARIABLE = "MT_TEST_DOCUMENT_DIR";

// Records the exact bytes of a document.
void record_test_document(std::string_view bytes);

// Records `feed` written as a compact JSON document in the object form, optional fields only
// when present. Texts are written byte for byte, control characters as \u escapes.
void record_test_feed(const Feed& feed);

}  // namespace mt::testing
