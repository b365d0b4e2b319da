#include "lint/outline.h"

#include <algorithm>

#include "common/digits.h"
#include "common/utf8.h"
#include "draft_tree.h"

namespace mt::lint {
namespace {

// How long a field's value may be beside its key, in characters, before it is shortened.
constexpr std::size_t DETAIL_CHARS = 40;

using Draft = DraftValues;

// A value as written, on one line, at most DETAIL_CHARS characters (an ellipsis ending it where
// it was cut).
std::string detail_text(std::string_view text) {
    std::string out;
    std::size_t chars = 0;
    for (std::size_t at = 0; at < text.size();) {
        const Character c = first_character(text.substr(at));
        if (chars == DETAIL_CHARS) return out + "…";
        if (c.valid && (c.value == '\n' || c.value == '\r' || c.value == '\t'))
            out += ' ';
        else if (c.valid)
            out.append(text.substr(at, c.length));
        else
            out += "\xEF\xBF\xBD";
        at += c.length;
        ++chars;
    }
    return out;
}

std::string one_line(std::string_view text) { return detail_text(text); }

std::vector<OutlineEntry> field_entries(const Draft& d, std::uint32_t object);

OutlineEntry field_entry(const Draft& d, std::uint32_t member) {
    const Node& m = d.at(member);
    OutlineEntry entry;
    // Every entry has a name an editor can show: a key written as "" is named so.
    entry.name = m.key.begin == m.key.end ? "без ключа" : one_line(token_text(d.document, m.key));
    if (entry.name.empty()) entry.name = "\"\"";
    entry.span = m.span;
    entry.name_span = m.key;
    if (m.value != NO_NODE) {
        const Node& v = d.at(m.value);
        if (v.kind == NodeKind::object) {
            entry.children = field_entries(d, m.value);
            entry.detail = "{…}";
        } else if (v.kind == NodeKind::array) {
            entry.detail = "[…]";
        } else {
            entry.detail = detail_text(d.document.substr(v.span.begin, v.span.end - v.span.begin));
        }
    }
    return entry;
}

std::vector<OutlineEntry> field_entries(const Draft& d, std::uint32_t object) {
    std::vector<OutlineEntry> out;
    for (std::uint32_t m = d.at(object).first; m != NO_NODE; m = d.at(m).next) out.push_back(field_entry(d, m));
    return out;
}

OutlineEntry message_entry(const Draft& d, std::uint32_t record, std::size_t index) {
    const Node& r = d.at(record);
    OutlineEntry entry;
    entry.kind = OutlineKind::message;
    entry.span = r.span;
    entry.name_span = {r.span.begin, r.span.begin + 1};
    entry.message = index;
    if (r.kind == NodeKind::object) {
        const std::uint32_t id = value_named(d.document, d.tree, record, "id");
        if (id != NO_NODE && d.at(id).kind == NodeKind::scalar) {
            entry.name = one_line(token_text(d.document, d.at(id).span));
            entry.name_span = d.at(id).span;
        }
        const std::uint32_t title = value_named(d.document, d.tree, record, "title");
        if (title != NO_NODE && d.at(title).kind == NodeKind::scalar)
            entry.detail = one_line(token_text(d.document, d.at(title).span));
        entry.children = field_entries(d, record);
    } else {
        // A message in the array form: its elements are its fields in their order.
        std::size_t field = 0;
        for (std::uint32_t e = r.first; e != NO_NODE; e = d.at(e).next, ++field) {
            const Node& element = d.at(e);
            const bool text = element.kind == NodeKind::scalar && element.token == TokenKind::string;
            if (field == 0 && text) {
                entry.name = one_line(token_text(d.document, element.span));
                entry.name_span = element.span;
            }
            if (field == 2 && text) entry.detail = one_line(token_text(d.document, element.span));
            OutlineEntry child;
            child.name = message_field(field).empty() ? decimal(field + 1) : std::string(message_field(field));
            child.span = child.name_span = element.span;
            if (element.kind == NodeKind::scalar)
                child.detail = detail_text(d.document.substr(element.span.begin, element.span.end - element.span.begin));
            else
                child.detail = element.kind == NodeKind::object ? "{…}" : "[…]";
            entry.children.push_back(std::move(child));
        }
    }
    if (entry.name.empty()) entry.name = "сообщение " + decimal(index + 1);
    return entry;
}

bool is_container(const Node& n) { return n.kind == NodeKind::object || n.kind == NodeKind::array; }

// The scalar or key token at `offset`, and the node it belongs to (the member for a key).
struct TokenAt {
    std::uint32_t node = NO_NODE;
    Span token{0, 0};
    bool key = false;
};

TokenAt token_at(const Draft& d, std::size_t offset) {
    const std::uint32_t n = node_at(d.tree, offset);
    if (n == NO_NODE) return {};
    const Node& node = d.at(n);
    if (node.kind == NodeKind::scalar) return {n, node.span, false};
    if (node.kind == NodeKind::member && offset >= node.key.begin && offset <= node.key.end &&
        node.key.end > node.key.begin)
        return {n, node.key, true};
    return {n, {offset, offset}, false};
}

// The record of the list that holds the value `n` as its id, or NO_NODE.
std::uint32_t record_of_id(const Draft& d, std::uint32_t n) {
    if (n == NO_NODE || d.at(n).kind != NodeKind::scalar) return NO_NODE;
    const std::uint32_t member = d.at(n).parent;
    if (member == NO_NODE || d.at(member).kind != NodeKind::member || token_text(d.document, d.at(member).key) != "id")
        return NO_NODE;
    const std::uint32_t record = d.at(member).parent;
    return place_of(d.document, d.tree, record) == Place::message ? record : NO_NODE;
}

}  // namespace

std::vector<OutlineEntry> outline(const DraftView& draft) {
    const Draft& d = draft.values();
    const std::string_view document = d.document;
    std::vector<OutlineEntry> out;
    if (d.tree.root == NO_NODE || d.at(d.tree.root).kind != NodeKind::object) return out;
    const std::uint32_t list = message_list(document, d.tree);
    for (std::uint32_t m = d.at(d.tree.root).first; m != NO_NODE; m = d.at(m).next) {
        OutlineEntry entry = field_entry(d, m);
        if (d.at(m).value != NO_NODE && d.at(m).value == list) {
            entry.kind = OutlineKind::messages;
            std::size_t index = 0;
            for (std::uint32_t r = d.at(list).first; r != NO_NODE; r = d.at(r).next, ++index)
                if (is_container(d.at(r))) entry.children.push_back(message_entry(d, r, index));
            entry.detail = decimal(index);
        } else {
            entry.kind = OutlineKind::feed_field;
            entry.children.clear();
        }
        out.push_back(std::move(entry));
    }
    return out;
}

std::vector<Span> folding_spans(const DraftView& draft) {
    const Draft& d = draft.values();
    const std::string_view document = d.document;
    std::vector<Span> out;
    for (const Node& n : d.tree.nodes) {
        if (!is_container(n)) continue;
        // What is open at the end folds to its last token, not over the white space after it.
        const Span span{n.span.begin, content_end(document, n)};
        const std::string_view inside = document.substr(span.begin, span.end - span.begin);
        if (inside.find_first_of("\n\r") != std::string_view::npos) out.push_back(span);
    }
    return out;
}

std::vector<Span> selection_spans(const DraftView& draft, std::size_t offset) {
    const Draft& d = draft.values();
    const std::string_view document = d.document;
    std::vector<Span> out;
    const auto add = [&](Span span) {
        if (out.empty() || (span.begin <= out.back().begin && span.end >= out.back().end && span != out.back()))
            out.push_back(span);
    };
    const TokenAt at = token_at(d, offset);
    if (at.token.end > at.token.begin) add(at.token);
    for (std::uint32_t n = at.node; n != NO_NODE; n = d.at(n).parent) add(d.at(n).span);
    add({0, document.size()});
    return out;
}

std::optional<Span> first_occurrence(const DraftView& draft, std::size_t offset) {
    const Draft& d = draft.values();
    const std::string_view document = d.document;
    const TokenAt at = token_at(d, offset);
    if (at.node == NO_NODE) return std::nullopt;
    if (at.key) {
        const std::string key = token_text(document, at.token);
        const std::uint32_t object = d.at(at.node).parent;
        for (std::uint32_t m = d.at(object).first; m != NO_NODE && m != at.node; m = d.at(m).next)
            if (token_text(document, d.at(m).key) == key) return d.at(m).key;
        return std::nullopt;
    }
    const std::vector<Span> ids = id_occurrences(draft, offset);
    if (ids.empty()) return std::nullopt;
    return ids.front();
}

std::vector<Span> id_occurrences(const DraftView& draft, std::size_t offset) {
    const Draft& d = draft.values();
    const std::string_view document = d.document;
    const TokenAt at = token_at(d, offset);
    if (at.key || record_of_id(d, at.node) == NO_NODE) return {};
    const std::string id = token_text(document, at.token);
    std::vector<Span> out;
    const std::uint32_t list = message_list(document, d.tree);
    for (std::uint32_t r = d.at(list).first; r != NO_NODE; r = d.at(r).next) {
        const std::uint32_t value = value_named(document, d.tree, r, "id");
        if (value != NO_NODE && d.at(value).kind == NodeKind::scalar && token_text(document, d.at(value).span) == id)
            out.push_back(d.at(value).span);
    }
    return out;
}

}  // namespace mt::lint
