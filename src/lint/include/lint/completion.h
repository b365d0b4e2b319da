// What an editor offers to write at a place of a draft, from the draft's one tolerant reading
// (lint/draft_view.h) so that it works while the draft is broken, as it is most of the time it
// is typed:
// - where a key may stand, the keys of that record that it does not have yet, each with its type
//   and limit and one line in Russian on what its value must be;
// - where a value stands, the values it may take: the call-to-action kinds, null where a field
//   is optional, a version's shape, a priority; in `start_at` or `end_at`, a date the author
//   typed as its Unix seconds (the zone it was read in named), or the next whole hour;
// - where a message may stand, a new message: an id no message has, priority 1, its window from
//   the next whole hour on the author's clock to fourteen days later, written as its neighbours
//   are.
// Each item says what it writes in place of which bytes, as plain text and, for an editor that
// takes them, as a snippet with places to type in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lint/author_zone.h"
#include "lint/draft_view.h"
#include "lint/fix.h"
#include "messages/reading.h"

namespace mt::lint {

enum class CompletionKind : unsigned char { key, value, date, message };

struct CompletionItem {
    CompletionKind kind = CompletionKind::key;
    std::string label;          // "priority", "\"open_license\"", "1774000800", "новое сообщение …"
    std::string detail;         // a key's type and limit; what a value is
    std::string documentation;  // one line in Russian
    Span replace{0, 0};         // the bytes it writes over (empty: it inserts at the place)
    std::string text;           // what it writes there
    // The same with tab stops in the protocol's snippet syntax ($1, ${1:default}, $0); empty
    // when it has none.
    std::string snippet;
    std::string filter;  // what an editor matches the bytes written over against
};

struct CompletionOptions {
    AuthorZone zone;       // where the new message's window is read and a date without a zone
    std::int64_t now = 0;  // Unix seconds: the next whole hour is after it
};

std::vector<CompletionItem> completions(const DraftView& draft, std::size_t offset, const CompletionOptions& options);

// The new message, as in completion, added after the last message of the feed's list (or into
// the empty list), written as the messages before it are: its one edit, and where in that edit's
// replacement the inside of the new message's empty title stands (where an author types next);
// none when the draft has no list of messages.
struct NewMessageFix {
    Fix fix;
    std::size_t title = 0;
};
std::optional<NewMessageFix> new_message_fix(const DraftView& draft, const CompletionOptions& options);

}  // namespace mt::lint
