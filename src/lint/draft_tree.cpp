#include "draft_tree.h"

#include "common/utf8.h"
#include "messages/reading.h"
#include "typographic_quotes.h"

namespace mt::lint {
namespace {

bool between_tokens(TokenKind kind) {
    return kind == TokenKind::comment || kind == TokenKind::foreign_space || kind == TokenKind::byte_order_mark;
}

bool opens(TokenKind kind) { return kind == TokenKind::object_begin || kind == TokenKind::array_begin; }
bool closes(TokenKind kind) { return kind == TokenKind::object_end || kind == TokenKind::array_end; }

// What an open object waits for next: a key, its member's colon or value (the member says
// whether its colon was written), or a comma.
enum class Due : unsigned char { key, value, comma };

struct Open {
    std::uint32_t node;
    std::uint32_t last = NO_NODE;    // its last member or element so far
    std::uint32_t member = NO_NODE;  // an object's current member
    Due due = Due::key;
};

class Builder {
  public:
    Builder(std::string_view document, const DraftReading& reading) : size_(document.size()), tokens_(reading.tokens) {}

    DraftTree run() {
        for (std::size_t i = 0; i < tokens_.size() && !done_; ++i) {
            const Token& t = tokens_[i];
            if (between_tokens(t.kind)) continue;
            take(i);
            last_end_ = t.end;
        }
        while (!open_.empty()) pop(size_, false);
        // Children come after their parents: from the end, each member's value is complete
        // before the member is.
        for (std::size_t i = tree_.nodes.size(); i-- > 0;) {
            Node& n = tree_.nodes[i];
            if (n.kind == NodeKind::member) n.span.end = n.value != NO_NODE ? tree_.nodes[n.value].span.end : n.key.end;
        }
        return std::move(tree_);
    }

  private:
    Node& node(std::uint32_t index) { return tree_.nodes[index]; }
    const Node& node(std::uint32_t index) const { return tree_.nodes[index]; }

    std::uint32_t add(Node n, std::uint32_t parent) {
        const auto index = static_cast<std::uint32_t>(tree_.nodes.size());
        n.parent = parent;
        tree_.nodes.push_back(n);
        return index;
    }

    // Links `child` as the next member or element of the innermost open value.
    void append(std::uint32_t child) {
        Open& top = open_.back();
        if (top.last == NO_NODE)
            node(top.node).first = child;
        else
            node(top.last).next = child;
        top.last = child;
    }

    // A value where one belongs: the document's, an element, or the current member's.
    void place_value(std::uint32_t parent_slot, std::uint32_t value) {
        if (parent_slot == NO_NODE) {
            tree_.root = value;
            return;
        }
        if (node(parent_slot).kind == NodeKind::member) {
            node(parent_slot).value = value;
            open_.back().due = Due::comma;
            return;
        }
        append(value);
    }

    // Where a value of the token at `i` goes: its parent (a member, an array, or none for the
    // document), making the member it is the value of when the object waits for a key.
    std::uint32_t slot_for_value(std::size_t i) {
        if (open_.empty()) return NO_NODE;
        Open& top = open_.back();
        if (node(top.node).kind == NodeKind::array) return top.node;
        if (top.due == Due::value) return top.member;
        // A bracket where a key is due (scalars there are keys): a value without a key.
        const Token& t = tokens_[i];
        new_member(t.begin, t.begin);
        top.due = Due::value;
        return top.member;
    }

    void new_member(std::size_t begin, std::size_t end) {
        Open& top = open_.back();
        Node member;
        member.kind = NodeKind::member;
        member.span = member.key = {begin, end};
        top.member = add(member, top.node);
        append(top.member);
        top.due = Due::value;
    }

    // The next significant token after `i` is a colon.
    bool colon_follows(std::size_t i) const {
        for (std::size_t j = i + 1; j < tokens_.size(); ++j) {
            if (between_tokens(tokens_[j].kind)) continue;
            return tokens_[j].kind == TokenKind::colon;
        }
        return false;
    }

    void pop(std::size_t end, bool closed) {
        Node& n = node(open_.back().node);
        n.span.end = end;
        n.closed = closed;
        open_.pop_back();
        if (open_.empty()) {
            done_ = true;
            return;
        }
        if (node(open_.back().node).kind == NodeKind::object) open_.back().due = Due::comma;
    }

    // A record's `}` missing before the next record of its list: an object in a list, with
    // members, meeting a bracket where a key or a comma is due.
    bool record_unclosed(const Token& t) const {
        if (open_.size() < 2 || !opens(t.kind)) return false;
        const Open& top = open_.back();
        return node(top.node).kind == NodeKind::object && node(open_[open_.size() - 2].node).kind == NodeKind::array &&
               top.last != NO_NODE && (top.due == Due::key || top.due == Due::comma);
    }

    void take(std::size_t i) {
        const Token& t = tokens_[i];
        if (record_unclosed(t)) pop(last_end_, false);
        if (!open_.empty() && node(open_.back().node).kind == NodeKind::object) {
            Open& top = open_.back();
            switch (t.kind) {
                case TokenKind::colon:
                    if (top.due == Due::key || top.due == Due::comma) new_member(t.begin, t.begin);
                    node(top.member).colon = true;
                    return;
                case TokenKind::comma:
                    top.due = Due::key;
                    top.member = NO_NODE;
                    return;
                default:
                    break;
            }
            // A string after a key, with or without its colon: the next key if a colon follows it
            // (the value not written yet), else the key's value.
            if (!opens(t.kind) && !closes(t.kind) &&
                (top.due == Due::key || top.due == Due::comma ||
                 (top.due == Due::value && colon_follows(i)))) {
                new_member(t.begin, t.end);
                return;
            }
        } else if (t.kind == TokenKind::colon || t.kind == TokenKind::comma) {
            return;
        }
        if (closes(t.kind)) {
            const NodeKind wanted = t.kind == TokenKind::object_end ? NodeKind::object : NodeKind::array;
            std::size_t depth = open_.size();
            while (depth > 0 && node(open_[depth - 1].node).kind != wanted) --depth;
            if (depth == 0) return;  // it closes nothing
            while (open_.size() > depth) pop(last_end_, false);
            pop(t.end, true);
            return;
        }
        const std::uint32_t slot = slot_for_value(i);
        if (slot == NO_NODE && tree_.root != NO_NODE) return;
        if (opens(t.kind)) {
            const NodeKind kind = t.kind == TokenKind::object_begin ? NodeKind::object : NodeKind::array;
            Node container;
            container.kind = kind;
            container.span = {t.begin, t.end};
            const std::uint32_t index = add(container, slot);
            place_value(slot, index);
            open_.push_back(Open{index});
            return;
        }
        Node scalar;
        scalar.span = {t.begin, t.end};
        scalar.token = t.kind;
        const std::uint32_t index = add(scalar, slot);
        place_value(slot, index);
        if (slot == NO_NODE) done_ = true;
    }

    std::size_t size_;
    const std::vector<Token>& tokens_;
    DraftTree tree_;
    std::vector<Open> open_;
    std::size_t last_end_ = 0;
    bool done_ = false;
};

bool is_quote_mark(char32_t c) { return c == '"' || c == '\'' || is_typographic_quote(c) || c == U'\u201D'; }

}  // namespace

DraftTree draft_tree(std::string_view document, const DraftReading& reading) {
    return Builder(document, reading).run();
}

// Dates inside the draft are no part of its structure: the reading needs no zone.
DraftView::DraftView(std::string_view document)
    : values_(std::make_unique<const DraftValues>(
          DraftValues{document, draft_tree(document, read_draft(document, AuthorZone{}))})) {}
DraftView::~DraftView() = default;
DraftView::DraftView(DraftView&&) noexcept = default;
DraftView& DraftView::operator=(DraftView&&) noexcept = default;
std::string_view DraftView::document() const { return values_->document; }

std::string token_text(std::string_view document, Span token) {
    if (token.begin >= token.end || token.end > document.size()) return {};
    if (document[token.begin] == '"')
        if (auto text = read_string_at(document, token.begin); text && token.begin + 1 < token.end) return *text;
    std::string_view bytes = document.substr(token.begin, token.end - token.begin);
    const Character first = first_character(bytes);
    if (!first.valid || !is_quote_mark(first.value)) return std::string(bytes);
    bytes.remove_prefix(first.length);
    if (!bytes.empty()) {
        const std::size_t last = character_start(bytes, bytes.size() - 1);
        const Character closer = first_character(bytes.substr(last));
        if (closer.valid && is_quote_mark(closer.value)) bytes = bytes.substr(0, last);
    }
    return std::string(bytes);
}

std::uint32_t member_named(std::string_view document, const DraftTree& tree, std::uint32_t object,
                           std::string_view key) {
    if (object == NO_NODE || tree.nodes[object].kind != NodeKind::object) return NO_NODE;
    for (std::uint32_t m = tree.nodes[object].first; m != NO_NODE; m = tree.nodes[m].next)
        if (token_text(document, tree.nodes[m].key) == key) return m;
    return NO_NODE;
}

std::uint32_t value_named(std::string_view document, const DraftTree& tree, std::uint32_t object,
                          std::string_view key) {
    const std::uint32_t member = member_named(document, tree, object, key);
    return member == NO_NODE ? NO_NODE : tree.nodes[member].value;
}

std::string_view message_field(std::size_t element) {
    constexpr std::string_view FIELDS[] = {"id",     "priority", "title",      "body",      "start_at",
                                           "end_at", "cta",      "minVersion", "maxVersion"};
    return element < std::size(FIELDS) ? FIELDS[element] : std::string_view();
}

std::uint32_t message_list(std::string_view document, const DraftTree& tree) {
    const std::uint32_t list = value_named(document, tree, tree.root, "messages");
    return list != NO_NODE && tree.nodes[list].kind == NodeKind::array ? list : NO_NODE;
}

Place place_of(std::string_view document, const DraftTree& tree, std::uint32_t node) {
    if (node == NO_NODE) return Place::other;
    const Node& n = tree.nodes[node];
    if (node == tree.root) return n.kind == NodeKind::object ? Place::feed : Place::other;
    if (n.kind == NodeKind::array) return node == message_list(document, tree) ? Place::message_list : Place::other;
    if (n.kind != NodeKind::object || n.parent == NO_NODE) return Place::other;
    const Node& parent = tree.nodes[n.parent];
    if (parent.kind == NodeKind::array) return n.parent == message_list(document, tree) ? Place::message : Place::other;
    if (parent.kind == NodeKind::member && token_text(document, parent.key) == "cta" &&
        place_of(document, tree, parent.parent) == Place::message)
        return Place::cta;
    return Place::other;
}

std::size_t content_end(std::string_view document, const Node& node) {
    // A closed one ends with its bracket, which is its last token.
    const std::size_t last = previous_token_end(document, node.span.end);
    return last == NO_OFFSET || last < node.span.begin ? node.span.begin + 1 : last + 1;
}

std::uint32_t node_at(const DraftTree& tree, std::size_t offset) {
    std::uint32_t best = NO_NODE;
    for (std::uint32_t i = 0; i < tree.nodes.size(); ++i) {
        const Node& n = tree.nodes[i];
        const bool container = n.kind == NodeKind::object || n.kind == NodeKind::array;
        // A place just before a bracket is outside what it opens; one just past a token, at it.
        const bool open_end = !container || !n.closed;
        if (offset < n.span.begin || offset > n.span.end || (offset == n.span.end && !open_end) ||
            (container && offset == n.span.begin))
            continue;
        // Later nodes are inside or after earlier ones: the later of two that both hold it is
        // inside the other.
        best = i;
    }
    return best;
}

}  // namespace mt::lint
