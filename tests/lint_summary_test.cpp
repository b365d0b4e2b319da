// The summary of each message that the authors' page shows beside the text: lengths in
// characters as the rules count them, and the time values exactly as written (a 64-bit value
// that a JavaScript number would round included), in both record forms.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "lint/hover.h"
#include "lint/problems.h"

namespace mt::lint {
namespace {

MessageSummary summary(std::size_t record_end, std::string id, std::string title, std::string body,
                       std::size_t title_chars, std::size_t body_chars, std::string start_text, std::string end_text,
                       std::string start, std::string end) {
    MessageSummary s;
    s.begin = 37;  // every row's first message follows the same head, {"schema":1,"revision":1,"messages":[
    s.end = record_end;
    s.id = std::move(id);
    s.title = std::move(title);
    s.body = std::move(body);
    s.title_chars = title_chars;
    s.body_chars = body_chars;
    s.priority = 1;
    s.start_at_text = std::move(start_text);
    s.end_at_text = std::move(end_text);
    s.start_at = std::move(start);
    s.end_at = std::move(end);
    return s;
}

TEST(SummarizeMessages, Table) {
    MessageSummary versions = summary(158, "v", "t", "b", 1, 1, "5", "6", "5", "6");
    versions.cta = "open_license";
    versions.min_version = "1.0.0";
    MessageSummary array_form =
        summary(111, "arr", "Тёмная 😀", "x", 8, 1, "-7", "9223372036854775807", "-7", "9223372036854775807");
    array_form.max_version = "2.0.0";
    MessageSummary later_summary = summary(118, "z", "t", "b", 1, 1, "0", "1", "0", "1");
    later_summary.index = 1;
    later_summary.begin = 48;
    const struct {
        std::string document;
        std::vector<MessageSummary> expected;
    } rows[] = {
        // Characters, not bytes or UTF-16 units; the body's escapes decoded first.
        {R"({"schema":1,"revision":1,"messages":[{"id":"a","priority":1,"title":"Привет","body":"\u00e9\n",)"
         R"("start_at":  1767225600 ,"end_at":1769904000}]})",
         {summary(146, "a", "Привет", "é\n", 6, 2, "1767225600", "1769904000", "1767225600", "1769904000")}},
        // Optional fields, and a message that breaks a rule (end before start) is still summarised.
        {R"({"schema":1,"revision":1,"messages":[{"id":"v","priority":1,"title":"t","body":"b","start_at":5,)"
         R"("end_at":6,"cta":{"kind":"open_license"},"minVersion":"1.0.0"}]})",
         {versions}},
        {R"({"schema":1,"revision":1,"messages":[["arr",1,"Тёмная 😀","x",-7,9223372036854775807,null,null,"2.0.0"]]})",
         {array_form}},
        // Zero has no sign.
        {R"({"schema":1,"revision":1,"messages":[{"id":"z","priority":1,"title":"t","body":"b","start_at":0,)"
         R"("end_at":1}]})",
         {summary(107, "z", "t", "b", 1, 1, "0", "1", "0", "1")}},
        // A document that does not read has nothing to summarise but its messages that read on
        // their own, each at its place in the list.
        {R"({"schema":1,"revision":1,"messages":[{"id":"a"})", {}},
        {R"({"schema":1,"revision":1,"messages":[{"id":"a"},{"id":"z","priority":1,"title":"t","body":"b",)"
         R"("start_at":0,"end_at":1}]})",
         {later_summary}},
        {"", {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(check_file(row.document, row.document.size(), "f.json", {}).messages, row.expected) << row.document;
}

// A problem found past the first error names the message it is about by its place in the
// document's list, as the summaries do.
TEST(SummarizeMessages, LaterProblemsNameTheirMessage) {
    const std::string document =
        R"({"schema":1,"revision":1,"messages":[{"id":"a"},{"id":"b","priority":1,"title":"t","body":"b",)"
        R"("start_at":0,"end_at":1},{"id":"c","priority":9,"title":"t","body":"b","start_at":0,"end_at":1}]})";
    const Check check = check_file(document, document.size(), "f.json", {});
    ASSERT_EQ(check.problems.size(), 2u);
    EXPECT_EQ(check.problems[1].code, Code::priority);
    EXPECT_EQ(check.problems[1].message, 2u);
    ASSERT_EQ(check.messages.size(), 2u);
    EXPECT_EQ(check.messages[0].index, 1u);
    EXPECT_EQ(check.messages[1].index, 2u);
}

// The hover text of a message: lengths against the limits (over one is marked), the window read
// as Unix seconds in UTC beside the number as written, and ids, actions and versions as the
// document writes them: in Markdown inside code spans (a fence longer than any backtick run in
// them), so nothing is escaped, and as they are in plain text.
TEST(MessageHover, Table) {
    MessageSummary over = summary(60, "a_b*", "t", "b", 81, 800, "1767225600", "-1", "1767225600", "-1");
    over.cta = "open_updates";
    over.min_version = "2.2.0";
    const MessageSummary far = summary(60, "far", "t", "b", 80, 801, "1e3", "99999999999999", "1000", "99999999999999");
    MessageSummary early =
        summary(60, "e\nr\rly", "t", "b", 1, 1, "-62135596800", "-30610224001", "-62135596800", "-30610224001");
    early.max_version = "3.0.0";
    const MessageSummary ticks = summary(60, "`a``b\nc", "t", "b", 1, 1, "0", "1", "0", "1");
    const struct {
        MessageSummary message;
        std::string markdown;
        std::string plain_text;
    } rows[] = {
        {over,
         "**Сообщение `a_b*`** · приоритет 1\n\n"
         "- заголовок: 81 из 80 символов — **длиннее предела**\n"
         "- текст: 800 из 800 символов\n"
         "- показ с: 2026-01-01 00:00:00 UTC (start_at: `1767225600`, секунды Unix)\n"
         "- показ до: 1969-12-31 23:59:59 UTC (end_at: `-1`, секунды Unix)\n"
         "- действие: `open_updates`\n"
         "- версии: `2.2.0` … любая\n",
         "Сообщение a_b* · приоритет 1\n\n"
         "- заголовок: 81 из 80 символов — длиннее предела\n"
         "- текст: 800 из 800 символов\n"
         "- показ с: 2026-01-01 00:00:00 UTC (start_at: 1767225600, секунды Unix)\n"
         "- показ до: 1969-12-31 23:59:59 UTC (end_at: -1, секунды Unix)\n"
         "- действие: open_updates\n"
         "- версии: 2.2.0 … любая\n"},
        // A number written with an exponent, and one beyond any plausible date.
        {far,
         "**Сообщение `far`** · приоритет 1\n\n"
         "- заголовок: 80 из 80 символов\n"
         "- текст: 801 из 800 символов — **длиннее предела**\n"
         "- показ с: 1970-01-01 00:16:40 UTC (start_at: `1e3`, секунды Unix)\n"
         "- показ до: 99999999999999 (end_at: `99999999999999`, секунды Unix)\n"
         "- действие: нет\n"
         "- версии: любая … любая\n",
         "Сообщение far · приоритет 1\n\n"
         "- заголовок: 80 из 80 символов\n"
         "- текст: 801 из 800 символов — длиннее предела\n"
         "- показ с: 1970-01-01 00:16:40 UTC (start_at: 1e3, секунды Unix)\n"
         "- показ до: 99999999999999 (end_at: 99999999999999, секунды Unix)\n"
         "- действие: нет\n"
         "- версии: любая … любая\n"},
        // Years before 1000 in four digits, as everywhere else; line breaks of an id as spaces.
        {early,
         "**Сообщение `e r ly`** · приоритет 1\n\n"
         "- заголовок: 1 из 80 символов\n"
         "- текст: 1 из 800 символов\n"
         "- показ с: 0001-01-01 00:00:00 UTC (start_at: `-62135596800`, секунды Unix)\n"
         "- показ до: 0999-12-31 23:59:59 UTC (end_at: `-30610224001`, секунды Unix)\n"
         "- действие: нет\n"
         "- версии: любая … `3.0.0`\n",
         "Сообщение e r ly · приоритет 1\n\n"
         "- заголовок: 1 из 80 символов\n"
         "- текст: 1 из 800 символов\n"
         "- показ с: 0001-01-01 00:00:00 UTC (start_at: -62135596800, секунды Unix)\n"
         "- показ до: 0999-12-31 23:59:59 UTC (end_at: -30610224001, секунды Unix)\n"
         "- действие: нет\n"
         "- версии: любая … 3.0.0\n"},
        // Backticks in an id: a longer fence, padded where the id starts with one; a line break
        // would end the item, so it is a space.
        {ticks,
         "**Сообщение ``` `a``b c ```** · приоритет 1\n\n"
         "- заголовок: 1 из 80 символов\n"
         "- текст: 1 из 800 символов\n"
         "- показ с: 1970-01-01 00:00:00 UTC (start_at: `0`, секунды Unix)\n"
         "- показ до: 1970-01-01 00:00:01 UTC (end_at: `1`, секунды Unix)\n"
         "- действие: нет\n"
         "- версии: любая … любая\n",
         "Сообщение `a``b c · приоритет 1\n\n"
         "- заголовок: 1 из 80 символов\n"
         "- текст: 1 из 800 символов\n"
         "- показ с: 1970-01-01 00:00:00 UTC (start_at: 0, секунды Unix)\n"
         "- показ до: 1970-01-01 00:00:01 UTC (end_at: 1, секунды Unix)\n"
         "- действие: нет\n"
         "- версии: любая … любая\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(message_hover(row.message, HoverFormat::markdown), row.markdown) << row.message.id;
        EXPECT_EQ(message_hover(row.message, HoverFormat::plain_text), row.plain_text) << row.message.id;
    }
}

}  // namespace
}  // namespace mt::lint
