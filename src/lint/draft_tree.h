// The values of a draft as its tolerant reading's tokens nest them: objects with their members,
// arrays with their elements, and the scalars in them. It is made for the editors' views of a
// draft that is being typed (its outline, its hints, completion), so it follows a broken draft
// as an author means it: a member whose colon or value is missing is still a member, a record
// whose `}` is missing ends where the next record of its list begins, a bracket that closes
// nothing is passed over, and what is still open at the end of the draft reaches to its end.
//
// The nodes are kept flat, parents before their children, so that neither building nor walking
// nor freeing a draft of any depth uses the stack. Internal to the lint core.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draft_reading.h"
#include "lint/draft_view.h"

namespace mt::lint {

enum class NodeKind : unsigned char { object, array, member, scalar };

inline constexpr std::uint32_t NO_NODE = UINT32_MAX;

struct Node {
    NodeKind kind = NodeKind::scalar;
    // An object or array from its bracket to one past its closing one (or, where that is missing,
    // its last token, and the end of the draft for what is open there); a member from its key to one past its value (its key alone while it has none); a
    // scalar, its token.
    Span span{0, 0};
    Span key{0, 0};        // a member's key token, with its quotation marks
    bool colon = false;    // a member: whether its colon was written
    bool closed = false;   // an object or array: whether its closing bracket was written
    TokenKind token = TokenKind::unreadable;  // a scalar's token
    std::uint32_t parent = NO_NODE;
    std::uint32_t value = NO_NODE;  // a member's value
    std::uint32_t first = NO_NODE;  // an object's first member, an array's first element
    std::uint32_t next = NO_NODE;   // the next member or element of the same parent
};

struct DraftTree {
    std::vector<Node> nodes;
    std::uint32_t root = NO_NODE;  // the document's value, when it has one
};

DraftTree draft_tree(std::string_view document, const DraftReading& reading);

// What a DraftView holds: the document and its tree (the tokens are not kept once it is built).
struct DraftValues {
    std::string_view document;
    DraftTree tree;
    const Node& at(std::uint32_t index) const { return tree.nodes[index]; }
};

// The text of a key or string token: a JSON string decoded as the reader decodes it, otherwise
// (a string in other quotation marks, or one the reader refuses) the bytes between its marks.
std::string token_text(std::string_view document, Span token);

// The member of `object` whose key's text is `key`: the first, or NO_NODE.
std::uint32_t member_named(std::string_view document, const DraftTree& tree, std::uint32_t object,
                           std::string_view key);

// The value node of the member of `object` named `key`, or NO_NODE.
std::uint32_t value_named(std::string_view document, const DraftTree& tree, std::uint32_t object, std::string_view key);

// What a node of the tree is in a feed, from where it stands.
enum class Place : unsigned char { other, feed, message_list, message, cta };

Place place_of(std::string_view document, const DraftTree& tree, std::uint32_t node);

// The key a message's element in the array form stands for, by its place: "id", "priority", …;
// empty past the last field.
std::string_view message_field(std::size_t element);

// The messages list's array node, or NO_NODE.
std::uint32_t message_list(std::string_view document, const DraftTree& tree);

// One past the last token of an object or array: its span's end, but for one open at the end of
// the draft, where the white space after its last token is not its own.
std::size_t content_end(std::string_view document, const Node& node);

// The innermost node whose span holds byte `offset` (a span's end counts for an open one and a
// scalar, so a cursor just past a token is at it; a bracket's own place is outside what it
// opens), or NO_NODE.
std::uint32_t node_at(const DraftTree& tree, std::size_t offset);

}  // namespace mt::lint
