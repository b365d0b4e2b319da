// What the editors show of a draft besides its problems, on any bytes: the outline, the folds,
// the hints, and at a few places (the first bytes of the input choose them) completion, the
// growing selection and the first occurrence of an id or key. Every span lies inside the
// document, a child's inside its parent's, a selection's each inside the next; every completion
// writes over bytes around its place; and the new message added to a draft that reads leaves it
// readable.
#include <cstdint>
#include <string>

#include "invariants.h"
#include "lint/completion.h"
#include "lint/inlay_hints.h"
#include "lint/outline.h"
#include "messages/reading.h"

using namespace mt::fuzz;

namespace {

bool inside(mt::Span span, std::size_t size) { return span.begin <= span.end && span.end <= size; }
bool holds(mt::Span outer, mt::Span inner) { return outer.begin <= inner.begin && inner.end <= outer.end; }

void check_entries(const std::vector<mt::lint::OutlineEntry>& entries, mt::Span parent, std::size_t size) {
    for (const auto& e : entries) {
        require(inside(e.span, size) && holds(parent, e.span), "an entry inside its parent", e.name);
        require(holds(e.span, e.name_span), "an entry's name inside it", e.name);
        require(!e.name.empty(), "an entry has a name");
        check_entries(e.children, e.span, size);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = as_text(data, size);
    const mt::lint::CompletionOptions options{.zone = {}, .now = 1'800'000'000};
    const mt::lint::DraftView draft(bytes);
    check_entries(mt::lint::outline(draft), {0, size}, size);
    for (const mt::Span fold : mt::lint::folding_spans(draft)) require(inside(fold, size), "a fold inside");
    std::size_t last = 0;
    for (const auto& hint : mt::lint::inlay_hints(draft, {})) {
        require(hint.offset <= size && hint.offset >= last, "hints in order inside", hint.label);
        require(is_one_line(hint.label), "a hint on one line", hint.label);
        last = hint.offset;
    }
    const std::size_t places[] = {size > 0 ? data[0] % (size + 1) : 0, size > 1 ? (data[1] * 257u) % (size + 1) : 0,
                                  size / 2, size};
    for (const std::size_t at : places) {
        for (const auto& item : mt::lint::completions(draft, at, options)) {
            require(inside(item.replace, size) && item.replace.begin <= at, "completion around its place", item.label);
            require(!item.label.empty() && !item.text.empty(), "completion writes something", item.label);
        }
        const std::vector<mt::Span> spans = mt::lint::selection_spans(draft, at);
        require(!spans.empty() && spans.back().begin == 0 && spans.back().end == size, "selection ends at the document");
        for (std::size_t i = 1; i < spans.size(); ++i)
            require(holds(spans[i], spans[i - 1]) && spans[i] != spans[i - 1], "each selection holds the one before");
        if (const auto first = mt::lint::first_occurrence(draft, at)) require(inside(*first, size), "a first occurrence inside");
        for (const mt::Span id : mt::lint::id_occurrences(draft, at)) require(inside(id, size), "an id inside");
    }
    if (const auto fix = mt::lint::new_message_fix(draft, options); fix && mt::parse_feed(bytes)) {
        std::string added(bytes);
        const auto& edits = fix->fix.edits;
        require(fix->title <= edits.front().replacement.size(), "the title inside the new message");
        for (auto e = edits.rbegin(); e != edits.rend(); ++e) added.replace(e->begin, e->end - e->begin, e->replacement);
        const auto read = mt::parse_feed(added);
        require(read.has_value(), "the new message leaves the draft readable", read ? "" : read.error().text());
    }
    return 0;
}
