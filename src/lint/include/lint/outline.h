// A draft's structure as an editor shows it and moves through it: the outline of its messages
// and fields, the regions that fold, the nested spans a selection grows through, and the first
// occurrence of a repeated id or key. From the draft's one tolerant reading (lint/draft_view.h),
// so all of it follows a draft that does not read yet as the author means it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lint/draft_view.h"
#include "messages/reading.h"

namespace mt::lint {

enum class OutlineKind : unsigned char {
    feed_field,  // schema, revision, or a key the feed does not have
    messages,    // the list of messages
    message,     // one message: named by its id, its title beside it
    field,       // a field of a message, or of its call to action
};

struct OutlineEntry {
    OutlineKind kind = OutlineKind::field;
    // Never empty: a field's key (`""` for the empty key, "без ключа" where none is written); a
    // message's id ("сообщение 3" while it has none).
    std::string name;
    std::string detail;  // a message's title; a field's value as written, on one line, shortened
    Span span{0, 0};     // all of it: a member from its key to the end of its value, a message's record
    Span name_span{0, 0};  // what names it: the key, or a message's id (its `{` without one)
    std::optional<std::size_t> message;  // a message's place in the list
    std::vector<OutlineEntry> children;  // the list's messages, a message's fields, a call to action's
};

// The entries of the feed's members, in document order, each message with its fields beneath.
std::vector<OutlineEntry> outline(const DraftView& draft);

// Each object and array that spans more than one line, from its opening bracket to one past its
// closing one (or its last token while it is open), in document order.
std::vector<Span> folding_spans(const DraftView& draft);

// The spans around byte `offset`, innermost first, each holding the one before: the token, the
// value, the member, the record, the messages, and the whole document.
std::vector<Span> selection_spans(const DraftView& draft, std::size_t offset);

// Where the id or key at byte `offset` first stands: a message's id (its string) the first
// message with the same id, a key the first key of its object with the same text; none where no
// id or key is, or a key stands first.
std::optional<Span> first_occurrence(const DraftView& draft, std::size_t offset);

// Every message's id equal to the id at byte `offset`, in document order, the first included;
// none where no message's id is.
std::vector<Span> id_occurrences(const DraftView& draft, std::size_t offset);

}  // namespace mt::lint
