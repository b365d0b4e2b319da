// What the draft checker read of each message, for a view of the feed beside its text: the
// facts the rules count (characters, not UTF-16 units or bytes) and the values as the document
// writes them, so that no caller re-counts a text or rounds a 64-bit integer. check_file
// (lint/problems.h) gives one per message of a document that reads.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mt::lint {

struct MessageSummary {
    std::size_t index = 0;  // its place in the document's list of messages
    std::size_t begin = 0;  // the message's `{` or `[` in the document
    std::size_t end = 0;    // one past its closing `}` or `]`
    std::string id;
    std::string title;
    std::string body;
    std::size_t title_chars = 0;  // as the length rules count them
    std::size_t body_chars = 0;
    unsigned priority = 0;
    std::optional<std::string> cta;  // the kind's name as a document writes it
    // The number texts exactly as the document writes them, and their values in decimal.
    std::string start_at_text;
    std::string end_at_text;
    std::string start_at;
    std::string end_at;
    std::optional<std::string> min_version;
    std::optional<std::string> max_version;
    friend bool operator==(const MessageSummary&, const MessageSummary&) = default;
};

}  // namespace mt::lint
