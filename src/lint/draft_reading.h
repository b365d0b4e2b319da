// The tolerant reading of a draft: the lint core's one scan of a document's JSON. It follows the
// JSON grammar and takes what authors bring from other writing as tokens of their own (a
// byte-order mark, comments, single and typographic quotation marks, white space that only
// looks like a space), with the certain repair of each mistake it meets: the byte-order mark,
// typographic or single quotation marks around a string, a comment, a comma too many before `}`
// or `]` or one missing between two members or two records, white space that JSON does not
// allow between tokens, a raw line break or tab inside a string; and, without a repair, a number
// or an escape JSON does not write so. Where the grammar can follow the draft no further it
// records what stands there as the last mistake, and reads the rest as strings and brackets
// only, so that what stands before any byte is still known. It never fails.
//
// The strict reader decides whether a document reads and where it stops; this reading tells
// the notes and the fixes what the author wrote around that place. Up to the reader's stop a
// document is JSON, and the two agree on every token there. Internal to the lint core.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "lint/diagnosis.h"
#include "messages/read_error.h"

namespace mt::lint {

enum class TokenKind : unsigned char {
    object_begin,
    object_end,
    array_begin,
    array_end,
    colon,
    comma,
    string,           // opened with JSON's `"` (closed by a `"`, or by a typographic mark)
    unclosed_string,  // opened with `"`, and the document ends inside it
    foreign_string,   // opened with a single or a typographic quotation mark
    number,
    literal,          // true, false, null
    comment,          // `//` to the end of the line, or `/*` to `*/`
    foreign_space,    // white space JSON does not allow between tokens
    byte_order_mark,  // EF BB BF at the start
    unreadable,       // a run of bytes the grammar could not follow
};

// The bytes [begin, end) of the document. JSON's own white space lies between tokens.
struct Token {
    TokenKind kind;
    std::size_t begin;
    std::size_t end;
};

struct DraftReading {
    std::vector<Token> tokens;  // in document order
    // Every mistake of the grammar's part, in document order, and the one it stopped at; the
    // edits of their repairs never overlap, and a document that is JSON has none.
    std::vector<Diagnosis> diagnoses;
    // Where the grammar, with its repairs, followed the draft to: the first byte of the first
    // mistake it could not repair, or the end of what was read. Beyond it the tokens are only
    // strings, brackets, colons, commas and unreadable runs.
    std::size_t grammar_end = 0;
};

// The reading of `document`, a date without a zone read in `zone`. With `until`, it ends at the
// first token past that byte (for what the place the reader stopped at needs, without reading
// the rest).
DraftReading read_draft(std::string_view document, const AuthorZone& zone, std::size_t until = NO_OFFSET);

// read_draft(document, zone).diagnoses, without keeping the tokens: for fixing, which reads a
// draft again after every round of repairs.
std::vector<Diagnosis> draft_mistakes(std::string_view document, const AuthorZone& zone);

// An open array or object. In an object, `value` says whether its current member is past its
// colon.
struct OpenBracket {
    char bracket = '{';  // '[' or '{'
    bool value = false;
};

// Where a byte stands: inside a string or not, inside which arrays and objects.
struct Context {
    std::vector<OpenBracket> open;  // outermost first
    bool in_string = false;
};

// The context just before byte `offset`, from the tokens that begin before it.
Context context_before(const DraftReading& reading, std::size_t offset);

// An element of the feed's `messages` list as the tokens show it: its place in the list and its
// first byte, a `{` or `[` (an element of another kind is counted, not listed).
struct MessageStart {
    std::size_t index = 0;
    std::size_t begin = 0;
};

// The records of the list that follows the top-level key `messages`, in document order, also
// past a mistake the grammar could not follow (its brackets are still tokens there): where a
// message's own reading may begin.
std::vector<MessageStart> message_starts(std::string_view document, const DraftReading& reading);

// Whether the object that holds the member whose key begins at `member` also has the key `key`
// (as written, between its quotation marks), before or after it.
bool object_has_key(std::string_view document, const DraftReading& reading, std::size_t member, std::string_view key);

// One past the value (string, number, literal, array, object) whose first token begins at
// `begin`, when it is JSON as written: no repair, no foreign token inside, within the grammar's
// part, nested at most 16 deep. Otherwise NO_OFFSET.
std::size_t plain_value_end(const DraftReading& reading, std::size_t begin);

// The first byte at or after `at` that is not JSON white space (space, tab, LF, CR).
std::size_t skip_space(std::string_view bytes, std::size_t at);

// The last byte before `offset` that is not JSON white space, NO_OFFSET when there is none.
std::size_t previous_token_end(std::string_view bytes, std::size_t offset);

}  // namespace mt::lint
