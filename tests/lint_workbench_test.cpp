// What the editors and the page help an author write with, over drafts as they are typed: each
// table a view of the draft (completion, the outline, folding, selection, the first occurrence
// of an id or key, the hints, the new message), each row a draft, most of them broken, and what
// the view shows of it. A cursor is written "‸" in a row's draft.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lint/completion.h"
#include "lint/inlay_hints.h"
#include "lint/outline.h"

namespace mt::lint {
namespace {

constexpr std::string_view CURSOR = "‸";

struct Cursor {
    std::string document;
    std::size_t offset = 0;
};

Cursor at_cursor(std::string_view draft) {
    const std::size_t at = draft.find(CURSOR);
    EXPECT_NE(at, std::string_view::npos) << draft;
    return {std::string(draft.substr(0, at)) + std::string(draft.substr(at + CURSOR.size())), at};
}

// Moscow's clock, three hours ahead of UTC all year.
std::int32_t three_hours(std::int64_t, const void*) { return 3 * 3600; }
const AuthorZone MOSCOW{.name = "Europe/Moscow", .offset_at = &three_hours, .data = nullptr, .offset_of = &three_hours};
// 2025-12-11 10:46:40 UTC, 13:46:40 in Moscow: the next whole hour there is 1765450800.
constexpr std::int64_t NOW = 1765450000;
const CompletionOptions OPTIONS{.zone = MOSCOW, .now = NOW};

// The document with `span` in brackets.
std::string marked(std::string_view document, Span span) {
    return std::string(document.substr(0, span.begin)) + "[" +
           std::string(document.substr(span.begin, span.end - span.begin)) + "]" +
           std::string(document.substr(span.end));
}

const std::string MESSAGE_A = R"({"id": "a", "priority": 1, "title": "t", "body": "b", "start_at": 0, "end_at": 1})";

struct CompletionRow {
    std::string name;
    std::string draft;
    std::vector<std::string> labels;
    std::string first_written;  // the draft with what the first item writes over in brackets
    std::string first_text;     // what it writes there, plain
    std::vector<std::string> details = {};  // each item's detail, where a row names them
};

TEST(LintWorkbench, CompletionOffersWhatMayStandAtTheCursor) {
    const std::vector<CompletionRow> rows = {
        {"the keys a message has not yet, in a key just begun",
         R"({"messages": [{"id": "a", "pri‸)",
         {"priority", "title", "body", "start_at", "end_at", "cta", "minVersion", "maxVersion"},
         R"({"messages": [{"id": "a", ["pri])",
         R"("priority": )"},
        {"a bare word where a key belongs is written over",
         "{\"messages\": [{\"title\": \"t\", ti‸}]}",
         {"id", "priority", "body", "start_at", "end_at", "cta", "minVersion", "maxVersion"},
         "{\"messages\": [{\"title\": \"t\", [ti]}]}",
         R"("id": )"},
        {"a key with its colon written keeps the colon",
         R"({"messages": [{"mi‸": null}]})",
         {"id", "priority", "title", "body", "start_at", "end_at", "cta", "minVersion", "maxVersion"},
         R"({"messages": [{["mi"]: null}]})",
         R"("id")"},
        {"the feed's keys at its top",
         "{\"schema\": 1, ‸",
         {"revision", "messages"},
         "{\"schema\": 1, []",
         R"("revision": )"},
        {"the call to action's one key",
         R"({"messages": [{"cta": {‸}}]})",
         {"kind"},
         R"({"messages": [{"cta": {[]}}]})",
         R"("kind": )"},
        {"a call to action's values",
         R"({"messages": [{"cta": ‸)",
         {"null", R"({"kind": "open_updates"})", R"({"kind": "open_appearance"})", R"({"kind": "open_license"})"},
         R"({"messages": [{"cta": [])",
         "null",
         {"без действия", "открыть страницу обновлений", "открыть настройки оформления", "открыть страницу лицензии"}},
        {"a kind's names, over the string begun",
         R"({"messages": [{"cta": {"kind": "open_‸"}}]})",
         {R"("open_updates")", R"("open_appearance")", R"("open_license")"},
         R"({"messages": [{"cta": {"kind": ["open_"]}}]})",
         R"("open_updates")"},
        {"a version's shape, or none",
         R"({"messages": [{"maxVersion": ‸}]})",
         {"null", R"("1.0.0")"},
         R"({"messages": [{"maxVersion": []}]})",
         "null"},
        {"the priorities",
         "{\"messages\": [{\"priority\": ‸",
         {"0", "1", "2"},
         "{\"messages\": [{\"priority\": []",
         "0"},
        {"a date typed as an ISO date, on the author's clock",
         "{\"messages\": [{\"start_at\": 2026-03-20 10:00‸",
         {"1773990000"},
         "{\"messages\": [{\"start_at\": [2026-03-20 10:00]",
         "1773990000"},
        {"a date in quotation marks, the closing one written over too",
         "{\"messages\": [{\"end_at\": \"20.03.2026‸\"}]}",
         {"1773954000"},
         "{\"messages\": [{\"end_at\": [\"20.03.2026\"]}]}",
         "1773954000"},
        {"a date that names its zone",
         "{\"messages\": [{\"start_at\": \"2026-03-20T10:00Z‸",
         {"1774000800"},
         "{\"messages\": [{\"start_at\": [\"2026-03-20T10:00Z]",
         "1774000800"},
        {"nothing typed yet: the next whole hour",
         "{\"messages\": [{\"start_at\": ‸",
         {"1765450800"},
         "{\"messages\": [{\"start_at\": []",
         "1765450800"},
        {"and for the end, fourteen days later",
         "{\"messages\": [{\"end_at\": ‸}]}",
         {"1766660400"},
         "{\"messages\": [{\"end_at\": []}]}",
         "1766660400"},
        {"seconds already written: nothing to offer",
         "{\"messages\": [{\"start_at\": 1767225600‸}]}",
         {},
         "",
         ""},
        {"a new message where one may stand, after another with its comma",
         "{\"messages\": [" + MESSAGE_A + " ‸]}",
         {"новое сообщение 2025-12-11 14:00 — 2025-12-25 14:00 Europe/Moscow"},
         "{\"messages\": [" + MESSAGE_A + " []]}",
         R"(,{"id": "message-2", "priority": 1, "title": "", "body": "", "start_at": 1765450800, "end_at": 1766660400})"},
        {"just before a message's brace, a new message before it",
         "{\"messages\": [‸" + MESSAGE_A + "]}",
         {"новое сообщение 2025-12-11 14:00 — 2025-12-25 14:00 Europe/Moscow"},
         "{\"messages\": [[]" + MESSAGE_A + "]}",
         R"({"id": "message-2", "priority": 1, "title": "", "body": "", "start_at": 1765450800, "end_at": 1766660400},)"},
        {"an id no message has",
         R"({"messages": [{"id": "message-2"}, {"id": "message-3"}, ‸]})",
         {"новое сообщение 2025-12-11 14:00 — 2025-12-25 14:00 Europe/Moscow"},
         R"({"messages": [{"id": "message-2"}, {"id": "message-3"}, []]})",
         R"({"id": "message-4", "priority": 1, "title": "", "body": "", "start_at": 1765450800, "end_at": 1766660400})"},
        {"a word in the list where a message belongs is written over by one",
         R"({"messages": [nu‸]})",
         {"новое сообщение 2025-12-11 14:00 — 2025-12-25 14:00 Europe/Moscow"},
         R"({"messages": [[nu]]})",
         // With no message to follow, a record on lines of its own.
         "{\n    \"id\": \"message-1\",\n    \"priority\": 1,\n    \"title\": \"\",\n    \"body\": \"\",\n"
         "    \"start_at\": 1765450800,\n    \"end_at\": 1766660400\n  }"},
        {"nor in a list of something else", R"({"other": [nu‸]})", {}, "", ""},
        {"no key is offered after the key before its colon", R"({"messages": [{"id" ‸)", {}, "", ""},
        {"an unknown record's keys are not guessed", R"({"other": {‸}})", {}, "", ""},
        {"an empty draft", "‸", {}, "", ""},
    };
    for (const CompletionRow& row : rows) {
        SCOPED_TRACE(row.name);
        const Cursor c = at_cursor(row.draft);
        const std::vector<CompletionItem> items = completions(DraftView(c.document), c.offset, OPTIONS);
        std::vector<std::string> labels;
        for (const CompletionItem& item : items) labels.push_back(item.label);
        EXPECT_EQ(labels, row.labels);
        if (items.empty()) continue;
        EXPECT_EQ(marked(c.document, items.front().replace), row.first_written);
        EXPECT_EQ(items.front().text, row.first_text);
        if (!row.details.empty()) {
            std::vector<std::string> details;
            for (const CompletionItem& item : items) details.push_back(item.detail);
            EXPECT_EQ(details, row.details);
        }
        // What an editor without snippets writes is the snippet without its places to type in.
        for (const CompletionItem& item : items) EXPECT_EQ(item.snippet.find("$$"), std::string::npos) << item.snippet;
    }
}

TEST(LintWorkbench, TheNewMessageSnippetHasPlacesForTheIdTitleAndBody) {
    const Cursor c = at_cursor("{\"messages\": [\n  ‸\n]}");
    const std::vector<CompletionItem> items = completions(DraftView(c.document), c.offset, OPTIONS);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].snippet,
              "{\n    \"id\": \"${1:message-1}\",\n    \"priority\": 1,\n    \"title\": \"$2\",\n    \"body\": \"$3\",\n"
              "    \"start_at\": 1765450800,\n    \"end_at\": 1766660400\n  \\}$0");
}

struct NewMessageRow {
    std::string name;
    std::string draft;
    std::string added;  // the draft with the new message added; "" for none
};

TEST(LintWorkbench, TheNewMessageIsWrittenAsItsNeighbours) {
    const std::string one_line_b =
        R"({"id": "message-2", "priority": 1, "title": "", "body": "", "start_at": 1765450800, "end_at": 1766660400})";
    const std::vector<NewMessageRow> rows = {
        {"after a record on lines of its own, indented as it is",
         "{\n  \"messages\": [\n    {\n      \"id\": \"a\"\n    }\n  ]\n}\n",
         "{\n  \"messages\": [\n    {\n      \"id\": \"a\"\n    },\n    {\n      \"id\": \"message-2\",\n"
         "      \"priority\": 1,\n      \"title\": \"\",\n      \"body\": \"\",\n      \"start_at\": 1765450800,\n"
         "      \"end_at\": 1766660400\n    }\n  ]\n}\n"},
        {"after a record whose keys stand at its brace's indentation, so do the new one's",
         "{\"messages\": [\n{\n\"id\": \"a\"\n}\n]}",
         "{\"messages\": [\n{\n\"id\": \"a\"\n},\n{\n\"id\": \"message-2\",\n\"priority\": 1,\n\"title\": \"\",\n"
         "\"body\": \"\",\n\"start_at\": 1765450800,\n\"end_at\": 1766660400\n}\n]}"},
        {"after records on one line, on one line",
         "{\"messages\": [" + MESSAGE_A + "]}",
         "{\"messages\": [" + MESSAGE_A + ", " +
             R"({"id": "message-2", "priority": 1, "title": "", "body": "", "start_at": 1765450800, "end_at": 1766660400})" +
             "]}"},
        {"after compact records, as compact",
         R"({"messages":[{"id":"a","title":"t"},{"id":"b","title":"u"}]})",
         R"({"messages":[{"id":"a","title":"t"},{"id":"b","title":"u"},{"id":"message-3","priority":1,"title":"","body":"","start_at":1765450800,"end_at":1766660400}]})"},
        {"with the draft's line ends",
         "{\r\n \"messages\": [\r\n ]\r\n}",
         "{\r\n \"messages\": [\r\n  {\r\n   \"id\": \"message-1\",\r\n   \"priority\": 1,\r\n   \"title\": \"\",\r\n"
         "   \"body\": \"\",\r\n   \"start_at\": 1765450800,\r\n   \"end_at\": 1766660400\r\n  }\r\n ]\r\n}"},
        {"into an empty list on one line",
         R"({"schema": 1, "messages": []})",
         "{\"schema\": 1, \"messages\": [\n  {\n    \"id\": \"message-1\",\n    \"priority\": 1,\n    \"title\": \"\",\n"
         "    \"body\": \"\",\n    \"start_at\": 1765450800,\n    \"end_at\": 1766660400\n  }\n]}"},
        {"after a record whose brace is missing, in a draft that does not read",
         "{\"messages\": [{\"id\": \"a\", \"title\": \"t\"\n",
         "{\"messages\": [{\"id\": \"a\", \"title\": \"t\", " + one_line_b + "\n"},
        {"no list of messages", R"({"schema": 1})", ""},
    };
    for (const NewMessageRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<NewMessageFix> added = new_message_fix(DraftView(row.draft), OPTIONS);
        if (row.added.empty()) {
            EXPECT_FALSE(added);
            continue;
        }
        ASSERT_TRUE(added);
        ASSERT_EQ(added->fix.edits.size(), 1u);
        const Edit& edit = added->fix.edits[0];
        std::string document = row.draft;
        document.replace(edit.begin, edit.end - edit.begin, edit.replacement);
        EXPECT_EQ(document, row.added);
        // The place to type next is inside the new title's quotation marks.
        const std::string before = document.substr(0, edit.begin + added->title);
        EXPECT_TRUE(before.ends_with("\"title\": \"") || before.ends_with("\"title\":\"")) << document;
        EXPECT_EQ(document[edit.begin + added->title], '"') << document;
    }
}

// The outline as lines: each entry's name, detail and kind, its children indented beneath.
void render(std::string_view document, const std::vector<OutlineEntry>& entries, std::string indent, std::string& out) {
    for (const OutlineEntry& e : entries) {
        out += indent + e.name;
        if (!e.detail.empty()) out += " — " + e.detail;
        out += " @" + std::string(document.substr(e.name_span.begin, e.name_span.end - e.name_span.begin)) + "\n";
        render(document, e.children, indent + "  ", out);
    }
}

struct OutlineRow {
    std::string name;
    std::string draft;
    std::string outline;
};

TEST(LintWorkbench, TheOutlineNamesEachMessageByIdAndTitle) {
    const std::vector<OutlineRow> rows = {
        {"a feed that reads",
         R"({"schema": 1, "messages": [{"id": "a", "title": "Привет", "cta": {"kind": "open_license"}}]})",
         "schema — 1 @\"schema\"\nmessages — 1 @\"messages\"\n  a — Привет @\"a\"\n    id — \"a\" @\"id\"\n"
         "    title — \"Привет\" @\"title\"\n    cta — {…} @\"cta\"\n      kind — \"open_license\" @\"kind\"\n"},
        {"a message without an id is named by its place, at its brace",
         R"({"messages": [{"title": "t"}, {"title": "u"}]})",
         "messages — 2 @\"messages\"\n  сообщение 1 — t @{\n    title — \"t\" @\"title\"\n"
         "  сообщение 2 — u @{\n    title — \"u\" @\"title\"\n"},
        {"a missing comma and a missing brace: each message still its own",
         "{\"messages\": [{\"id\": \"a\" \"title\": \"t\", {\"id\": \"b\",\n",
         "messages — 2 @\"messages\"\n  a — t @\"a\"\n    id — \"a\" @\"id\"\n    title — \"t\" @\"title\"\n"
         "  b @\"b\"\n    id — \"b\" @\"id\"\n"},
        {"a value not written yet: the next line's key is a field of its own",
         "{\"messages\": [{\"id\":\n \"title\": \"t\"}]}",
         "messages — 1 @\"messages\"\n  сообщение 1 — t @{\n    id @\"id\"\n    title — \"t\" @\"title\"\n"},
        {"a key without its colon is still a field",
         R"({"messages": [{"id" "a", "priority" 1}]})",
         "messages — 1 @\"messages\"\n  a @\"a\"\n    id — \"a\" @\"id\"\n    priority — 1 @\"priority\"\n"},
        {"a long title is shortened, a line break shown as a space",
         R"({"messages": [{"id": "a", "title": "0123456789012345678901234567890123456789xyz\nq"}]})",
         "messages — 1 @\"messages\"\n  a — 0123456789012345678901234567890123456789… @\"a\"\n    id — \"a\" @\"id\"\n"
         "    title — \"012345678901234567890123456789012345678… @\"title\"\n"},
        {"a message in the array form: its elements named by the fields they are",
         R"({"messages": [["a", 1, "t", "b", 0, 1, {"kind": "open_license"}]]})",
         "messages — 1 @\"messages\"\n  a — t @\"a\"\n    id — \"a\" @\"a\"\n    priority — 1 @1\n    title — \"t\" @\"t\"\n"
         "    body — \"b\" @\"b\"\n    start_at — 0 @0\n    end_at — 1 @1\n    cta — {…} @{\"kind\": \"open_license\"}\n"},
        {"typographic quotation marks", "{“messages”: [{“id”: “a”}]}",
         "messages — 1 @“messages”\n  a @“a”\n    id — “a” @“id”\n"},
        {"no object at the top", "[1, 2]", ""},
    };
    for (const OutlineRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::string out;
        render(row.draft, outline(DraftView(row.draft)), "", out);
        EXPECT_EQ(out, row.outline);
    }
}

struct SpansRow {
    std::string name;
    std::string draft;
    std::vector<std::string> spans;  // each span's bytes
};

TEST(LintWorkbench, ASelectionGrowsFromTheTokenToTheDocument) {
    const std::vector<SpansRow> rows = {
        {"from a title to the document",
         R"({"messages": [{"id": "a", "title": "t‸t"}], "schema": 1})",
         {R"("tt")", R"("title": "tt")", R"({"id": "a", "title": "tt"})", R"([{"id": "a", "title": "tt"}])",
          R"("messages": [{"id": "a", "title": "tt"}])", R"({"messages": [{"id": "a", "title": "tt"}], "schema": 1})"}},
        {"from a key",
         R"({"sch‸ema": 1})",
         {R"("schema")", R"("schema": 1)", R"({"schema": 1})"}},
        {"in a draft left open",
         "{\"messages\": [{\"id\": \"a‸\"",
         {R"("a")", R"("id": "a")", R"({"id": "a")", R"([{"id": "a")", R"("messages": [{"id": "a")",
          R"({"messages": [{"id": "a")"}},
        {"between members: the record", R"({"a": 1, ‸ "b": 2})", {R"({"a": 1,  "b": 2})"}},
    };
    for (const SpansRow& row : rows) {
        SCOPED_TRACE(row.name);
        const Cursor c = at_cursor(row.draft);
        std::vector<std::string> spans;
        for (const Span s : selection_spans(DraftView(c.document), c.offset)) spans.push_back(c.document.substr(s.begin, s.end - s.begin));
        EXPECT_EQ(spans, row.spans);
    }
}

TEST(LintWorkbench, FoldingSpansAreTheRecordsAndListsOnMoreThanOneLine) {
    const std::vector<SpansRow> rows = {
        {"one line folds nothing", R"({"messages": [{"id": "a"}]})", {}},
        {"each on lines of its own",
         "{\n \"messages\": [\n  {\"id\": \"a\"},\n  {\n   \"id\": \"b\"\n  }\n ]\n}",
         {"{\n \"messages\": [\n  {\"id\": \"a\"},\n  {\n   \"id\": \"b\"\n  }\n ]\n}",
          "[\n  {\"id\": \"a\"},\n  {\n   \"id\": \"b\"\n  }\n ]", "{\n   \"id\": \"b\"\n  }"}},
        {"one left open folds to its last token", "{\r\n \"messages\": [\r\n  1", {"{\r\n \"messages\": [\r\n  1", "[\r\n  1"}},
    };
    for (const SpansRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> spans;
        for (const Span s : folding_spans(DraftView(row.draft))) spans.push_back(row.draft.substr(s.begin, s.end - s.begin));
        EXPECT_EQ(spans, row.spans);
    }
}

struct OccurrenceRow {
    std::string name;
    std::string draft;
    std::string first;                // the draft with the first occurrence in brackets; "" for none
    std::vector<std::size_t> ids;     // where each equal id begins
};

TEST(LintWorkbench, ARepeatedIdOrKeyLeadsToItsFirstOccurrence) {
    const std::vector<OccurrenceRow> rows = {
        {"a repeated id", R"({"messages": [{"id": "a"}, {"id": "b"}, {"id": "‸a"}]})",
         R"({"messages": [{"id": ["a"]}, {"id": "b"}, {"id": "a"}]})", {21, 47}},
        {"the first id leads to itself", R"({"messages": [{"id": "‸a"}, {"id": "a"}]})",
         R"({"messages": [{"id": ["a"]}, {"id": "a"}]})", {21, 34}},
        {"an id written with an escape is the same id", R"({"messages": [{"id": "a"}, {"id": "\u0061‸"}]})",
         R"({"messages": [{"id": ["a"]}, {"id": "\u0061"}]})", {21, 34}},
        {"a repeated key", R"({"messages": [{"title": "t", "id": "a", "ti‸tle": "u"}]})",
         R"({"messages": [{["title"]: "t", "id": "a", "title": "u"}]})", {}},
        {"from the first byte of a repeated key", R"({"a": 1, ‸"a": 2})", R"({["a"]: 1, "a": 2})", {}},
        {"from just past a repeated key", R"({"a": 1, "a"‸: 2})", R"({["a"]: 1, "a": 2})", {}},
        {"members without keys are no repeated key", R"({: 1, ‸: 2})", "", {}},
        {"a key that stands first", R"({"messages": [{"ti‸tle": "t", "title": "u"}]})", "", {}},
        {"a title is no id", R"({"messages": [{"id": "a", "title": "‸a"}]})", "", {}},
        {"in a draft that does not read", "{\"messages\": [{\"id\": \"a\",, {\"id\": \"a‸\"", "{\"messages\": [{\"id\": [\"a\"],, {\"id\": \"a\"",
         {21, 34}},
    };
    for (const OccurrenceRow& row : rows) {
        SCOPED_TRACE(row.name);
        const Cursor c = at_cursor(row.draft);
        const std::optional<Span> first = first_occurrence(DraftView(c.document), c.offset);
        EXPECT_EQ(first ? marked(c.document, *first) : "", row.first);
        std::vector<std::size_t> ids;
        for (const Span s : id_occurrences(DraftView(c.document), c.offset)) ids.push_back(s.begin);
        EXPECT_EQ(ids, row.ids);
    }
}

struct HintRow {
    std::string name;
    std::string draft;
    std::string hinted;  // the draft with each hint in ⟨⟩ at its place
};

TEST(LintWorkbench, HintsGiveTheDatesAndTheLengthsNearTheirLimits) {
    const std::string title_79(79, 'x');
    const std::string body_791(791, 'y');
    const std::vector<HintRow> rows = {
        {"the window on the author's clock, seconds only when there are some",
         R"({"messages": [{"start_at": 1767225600, "end_at": 1767225630}]})",
         R"({"messages": [{"start_at": 1767225600⟨2026-01-01 03:00 Europe/Moscow⟩, "end_at": 1767225630⟨2026-01-01 03:00:30 Europe/Moscow⟩}]})"},
        {"lengths within ten of the limit and over it, in characters",
         "{\"messages\": [{\"title\": \"" + title_79 + "\", \"body\": \"" + body_791 + "\"}, {\"title\": \"ж" + title_79 + "\"}]}",
         "{\"messages\": [{\"title\": \"" + title_79 + "\"⟨79/80⟩, \"body\": \"" + body_791 + "\"⟨791/800⟩}, {\"title\": \"ж" +
             title_79 + "\"⟨80/80⟩}]}"},
        {"a message in the array form",
         "{\"messages\": [[\"a\", 1, \"" + title_79 + "\", \"b\", 0, 60]]}",
         "{\"messages\": [[\"a\", 1, \"" + title_79 + "\"⟨79/80⟩, \"b\", 0⟨1970-01-01 03:00 Europe/Moscow⟩, 60⟨1970-01-01 03:01 Europe/Moscow⟩]]}"},
        {"ten characters short of the limit, and eleven",
         "{\"messages\": [{\"title\": \"" + std::string(70, 'x') + "\"}, {\"title\": \"" + std::string(69, 'x') + "\"}]}",
         "{\"messages\": [{\"title\": \"" + std::string(70, 'x') + "\"⟨70/80⟩}, {\"title\": \"" + std::string(69, 'x') + "\"}]}"},
        {"the earliest and latest seconds shown as dates, and one past each",
         R"({"messages": [{"start_at": -100000000000, "end_at": 100000000000}, {"start_at": -100000000001, "end_at": 100000000001}]})",
         R"({"messages": [{"start_at": -100000000000⟨-1199-02-15 17:13:20 Europe/Moscow⟩, "end_at": 100000000000⟨5138-11-16 12:46:40 Europe/Moscow⟩}, {"start_at": -100000000001, "end_at": 100000000001}]})"},
        {"a short title, a time that is no integer, a time outside a message",
         R"({"start_at": 1, "messages": [{"title": "t", "start_at": 1.5, "end_at": "1"}]})",
         R"({"start_at": 1, "messages": [{"title": "t", "start_at": 1.5, "end_at": "1"}]})"},
        {"a draft that does not read, and a time beyond dates",
         "{\"messages\": [{\"start_at\": 0 \"end_at\": 99999999999999,,",
         "{\"messages\": [{\"start_at\": 0⟨1970-01-01 03:00 Europe/Moscow⟩ \"end_at\": 99999999999999,,"},
    };
    for (const HintRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::string hinted = row.draft;
        const std::vector<InlayHint> hints = inlay_hints(DraftView(row.draft), MOSCOW);
        for (std::size_t i = hints.size(); i-- > 0;) hinted.insert(hints[i].offset, "⟨" + hints[i].label + "⟩");
        EXPECT_EQ(hinted, row.hinted);
    }
}

}  // namespace
}  // namespace mt::lint
