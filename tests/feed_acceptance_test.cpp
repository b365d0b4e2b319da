#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "messages/messages.h"
#include "support/dev_signer.h"
#include "support/test_documents.h"
#include "verify_feed/verify_feed.h"

namespace mt {
namespace {

Message valid_message(std::string id) {
    Message m;
    m.id = std::move(id);
    m.priority = 1;
    m.title = "Обновление";
    m.body = "Вышла новая версия.";
    m.start_at = 100;
    m.end_at = 200;
    return m;
}

Feed feed_of(std::vector<Message> messages) { return Feed{1, 7, std::move(messages)}; }

std::string outcome(const Feed& feed) {
    testing::record_test_feed(feed);
    const std::vector<RuleFailure> first = find_rule_failures(feed, 1);
    return first.empty() ? "ok" : failure_text(feed, first.front());
}

std::string repeat(std::string_view unit, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += unit;
    return out;
}

struct MessageRow {
    const char* name;
    std::function<void(Message&)> change;
    std::string expected;  // "ok" or the exact rejection text
};

TEST(MessageRules, EachRuleAndItsBoundaries) {
    const std::string id_tail = " (id \"m1\")";
    const std::vector<MessageRow> rows = {
        {"valid", [](Message&) {}, "ok"},
        {"id 64 bytes", [](Message& m) { m.id = repeat("a", 63) + "Z"; }, "ok"},
        {"id of every allowed class", [](Message& m) { m.id = "Az09_-"; }, "ok"},
        {"id 65 bytes", [](Message& m) { m.id = repeat("a", 65); },
         "messages: недопустимый id \"" + repeat("a", 65) + "\" (ASCII [A-Za-z0-9_-], 1..=64)"},
        {"empty id", [](Message& m) { m.id = ""; }, "messages: недопустимый id \"\" (ASCII [A-Za-z0-9_-], 1..=64)"},
        {"id with a full stop", [](Message& m) { m.id = "a.b"; },
         "messages: недопустимый id \"a.b\" (ASCII [A-Za-z0-9_-], 1..=64)"},
        {"id with a space", [](Message& m) { m.id = "a b"; },
         "messages: недопустимый id \"a b\" (ASCII [A-Za-z0-9_-], 1..=64)"},
        {"id with Cyrillic", [](Message& m) { m.id = "ид"; },
         "messages: недопустимый id \"ид\" (ASCII [A-Za-z0-9_-], 1..=64)"},
        {"id shown escaped", [](Message& m) { m.id = "a\"\t\x1b"; },
         "messages: недопустимый id \"a\\\"\\t\\u{1b}\" (ASCII [A-Za-z0-9_-], 1..=64)"},
        {"priority 0", [](Message& m) { m.priority = 0; }, "ok"},
        {"priority 2", [](Message& m) { m.priority = 2; }, "ok"},
        {"priority 3", [](Message& m) { m.priority = 3; }, "messages: priority 3 вне 0..=2" + id_tail},
        {"priority 255", [](Message& m) { m.priority = 255; }, "messages: priority 255 вне 0..=2" + id_tail},
        {"title of 80 Cyrillic letters", [](Message& m) { m.title = repeat("ж", 80); }, "ok"},
        {"title of 81 letters", [](Message& m) { m.title = repeat("ж", 81); },
         "messages: title длиннее 80 символов" + id_tail},
        {"title over 80 only with leading blanks", [](Message& m) { m.title = "  " + repeat("x", 79); },
         "messages: title длиннее 80 символов" + id_tail},
        {"body of 800", [](Message& m) { m.body = repeat("я", 800); }, "ok"},
        {"body of 801", [](Message& m) { m.body = repeat("b", 801); }, "messages: body длиннее 800 символов" + id_tail},
        {"long title beats long body", [](Message& m) { m.title = repeat("x", 81), m.body = repeat("b", 801); },
         "messages: title длиннее 80 символов" + id_tail},
        {"title of spaces", [](Message& m) { m.title = "   "; }, "messages: пустые title/body после trim" + id_tail},
        {"title of a tab is empty before it is a control", [](Message& m) { m.title = "\t"; },
         "messages: пустые title/body после trim" + id_tail},
        {"title of no-break spaces", [](Message& m) { m.title = "\u00A0\u00A0"; },
         "messages: пустые title/body после trim" + id_tail},
        {"empty body", [](Message& m) { m.body = ""; }, "messages: пустые title/body после trim" + id_tail},
        {"empty title beats a control in body", [](Message& m) { m.title = " ", m.body = "a\rb"; },
         "messages: пустые title/body после trim" + id_tail},
        {"zero-width space is not trimmed", [](Message& m) { m.title = "\u200B"; }, "ok"},
        {"tab inside title", [](Message& m) { m.title = "a\tb"; },
         "messages: управляющие символы в title/body" + id_tail},
        {"line feeds in body", [](Message& m) { m.body = "one\ntwo\n"; }, "ok"},
        {"CRLF in body", [](Message& m) { m.body = "one\r\ntwo"; },
         "messages: управляющие символы в title/body" + id_tail},
        {"next line inside title", [](Message& m) { m.title = "a\u0085b"; },
         "messages: управляющие символы в title/body" + id_tail},
        {"delete in body", [](Message& m) { m.body = "a\x7f"; },
         "messages: управляющие символы в title/body" + id_tail},
        {"U+009F in body", [](Message& m) { m.body = "a\u009F"; },
         "messages: управляющие символы в title/body" + id_tail},
        {"U+00A0 and Cyrillic inside are no controls", [](Message& m) { m.body = "a\u00A0b Рр"; }, "ok"},
        {"NUL in body", [](Message& m) { m.body = std::string("a\0b", 3); },
         "messages: управляющие символы в title/body" + id_tail},
        {"U+001F in title", [](Message& m) { m.title = "a\x1f"; },
         "messages: управляющие символы в title/body" + id_tail},
        {"U+001E in body", [](Message& m) { m.body = "\x1e b"; },
         "messages: управляющие символы в title/body" + id_tail},
        {"end equals start", [](Message& m) { m.end_at = m.start_at; }, "messages: end_at <= start_at" + id_tail},
        {"end before start", [](Message& m) { m.end_at = 99; }, "messages: end_at <= start_at" + id_tail},
        {"end one after start", [](Message& m) { m.end_at = m.start_at + 1; }, "ok"},
        {"negative window", [](Message& m) { m.start_at = INT64_MIN, m.end_at = -1; }, "ok"},
        {"full signed range", [](Message& m) { m.start_at = INT64_MIN, m.end_at = INT64_MAX; }, "ok"},
        {"bad window beats bad version", [](Message& m) { m.end_at = 0, m.minVersion = "x"; },
         "messages: end_at <= start_at" + id_tail},
        {"versions in order", [](Message& m) { m.minVersion = "1.9.0", m.maxVersion = "1.10.0"; }, "ok"},
        {"equal versions", [](Message& m) { m.minVersion = m.maxVersion = "2.0.0"; }, "ok"},
        {"only min", [](Message& m) { m.minVersion = "0.0.0"; }, "ok"},
        {"only max", [](Message& m) { m.maxVersion = "18446744073709551615.0.0"; }, "ok"},
        {"min above max, numerically", [](Message& m) { m.minVersion = "1.2.10", m.maxVersion = "1.2.9"; },
         "messages: minVersion 1.2.10 > maxVersion 1.2.9" + id_tail},
        {"major decides", [](Message& m) { m.minVersion = "2.0.0", m.maxVersion = "1.99.99"; },
         "messages: minVersion 2.0.0 > maxVersion 1.99.99" + id_tail},
        {"bad min with no max", [](Message& m) { m.minVersion = "1.2"; },
         "messages: версия не semver из 3 числовых частей" + id_tail},
        {"bad max with good min", [](Message& m) { m.minVersion = "1.2.3", m.maxVersion = "v1.2.3"; },
         "messages: версия не semver из 3 числовых частей" + id_tail},
        {"empty min is a text, not absent", [](Message& m) { m.minVersion = ""; },
         "messages: версия не semver из 3 числовых частей" + id_tail},
    };
    for (const auto& row : rows) {
        Message m = valid_message("m1");
        row.change(m);
        EXPECT_EQ(outcome(feed_of({m})), row.expected) << row.name;
    }
}

TEST(ParseVersion, AcceptsOnlyThreePlainDecimalParts) {
    const std::vector<std::pair<std::string, std::optional<Version>>> rows = {
        {"1.2.3", Version{1, 2, 3}},
        {"0.0.0", Version{0, 0, 0}},
        {"10.20.30", Version{10, 20, 30}},
        {"18446744073709551615.18446744073709551615.18446744073709551615", Version{UINT64_MAX, UINT64_MAX, UINT64_MAX}},
        {"1.2", std::nullopt},
        {"1.2.3.4", std::nullopt},
        {"1.2.3.", std::nullopt},
        {".1.2.3", std::nullopt},
        {"1..3", std::nullopt},
        {"", std::nullopt},
        {"..", std::nullopt},
        {"01.2.3", std::nullopt},
        {"1.02.3", std::nullopt},
        {"1.2.00", std::nullopt},
        {"v1.2.3", std::nullopt},
        {"+1.2.3", std::nullopt},
        {"-1.2.3", std::nullopt},
        {" 1.2.3", std::nullopt},
        {"1.2.3 ", std::nullopt},
        {"1.2.3-beta", std::nullopt},
        {"1.2.3+build", std::nullopt},
        {"18446744073709551616.0.0", std::nullopt},
        {"1.2.٣", std::nullopt},  // a non-ASCII digit
    };
    for (const auto& [text, expected] : rows) EXPECT_EQ(parse_version(text), expected) << text;
}

TEST(FeedRules, FeedLevelRulesComeFirstInOrder) {
    std::vector<Message> sixty(60, valid_message("same"));
    Feed schema_and_revision{2, 0, {}};
    EXPECT_EQ(outcome(schema_and_revision), "messages: неизвестная schema 2");
    EXPECT_EQ(outcome(Feed{0, 1, {}}), "messages: неизвестная schema 0");
    EXPECT_EQ(outcome(Feed{4294967295u, 1, {}}), "messages: неизвестная schema 4294967295");
    EXPECT_EQ(outcome(Feed{1, 0, sixty}), "messages: revision обязателен и должен быть >= 1 — отклонена");
    EXPECT_EQ(outcome(Feed{1, UINT64_MAX, {}}), "ok");

    std::vector<Message> bad(51, valid_message("x"));
    for (auto& m : bad) m.priority = 9;
    EXPECT_EQ(outcome(feed_of(bad)), "messages: 51 сообщений больше 50 — отклонена целиком");
}

TEST(FeedRules, FiftyMessagesPassAndTheFirstFailingMessageWins) {
    std::vector<Message> fifty;
    for (int i = 0; i < 50; ++i) fifty.push_back(valid_message("m" + std::to_string(i)));
    EXPECT_EQ(outcome(feed_of(fifty)), "ok");

    fifty[3].priority = 5;
    fifty[1].title = "";
    EXPECT_EQ(outcome(feed_of(fifty)), "messages: пустые title/body после trim (id \"m1\")");
}

TEST(FeedRules, DuplicateIdsAreCaseSensitiveAndReportedAfterTheOtherRules) {
    EXPECT_EQ(outcome(feed_of({valid_message("Promo"), valid_message("promo")})), "ok");
    EXPECT_EQ(outcome(feed_of({valid_message("a"), valid_message("b"), valid_message("a")})),
              "messages: дубликат id \"a\"");

    Message repeat_with_empty_title = valid_message("a");
    repeat_with_empty_title.title = " ";
    EXPECT_EQ(outcome(feed_of({valid_message("a"), valid_message("b"), repeat_with_empty_title})),
              "messages: пустые title/body после trim (id \"a\")");
}

using mt::testing::dev_sign_hex;

const std::string SIGNATURE_REJECTED = "messages: подпись ленты не подтверждена — отклонена";

std::string message_json(const std::string& id, const std::string& title = "Заголовок") {
    return R"({"id":")" + id + R"(","priority":1,"title":")" + title + R"(","body":"Текст","start_at":1,"end_at":2})";
}

std::string feed_json(const std::string& schema, const std::string& revision,
                      const std::vector<std::string>& messages) {
    std::string out = R"({"schema":)" + schema + R"(,"revision":)" + revision + R"(,"messages":[)";
    for (std::size_t i = 0; i < messages.size(); ++i) out += (i ? "," : "") + messages[i];
    return out + "]}";
}

std::string outcome(const std::string& bytes, const std::string& signature_text) {
    testing::record_test_document(bytes);
    const auto feed = verify_feed(bytes, signature_text);
    return feed ? "ok" : feed.error().text;
}

std::string signed_outcome(const std::string& bytes) { return outcome(bytes, dev_sign_hex(bytes)); }

TEST(VerifyFeed, AcceptsASignedFeedAndReturnsItsRecords) {
    const std::string bytes = feed_json("1", "18446744073709551615", {message_json("a"), message_json("b")});
    const auto feed = verify_feed(bytes, "  " + dev_sign_hex(bytes) + "\r\n");
    ASSERT_TRUE(feed) << feed.error().text;
    EXPECT_EQ(feed->revision, UINT64_MAX);
    ASSERT_EQ(feed->messages.size(), 2u);
    EXPECT_EQ(feed->messages[1].id, "b");
    EXPECT_EQ(feed->messages[0].title, "Заголовок");
}

TEST(VerifyFeed, SignatureDecidesBeforeAnythingIsParsed) {
    const std::string good = feed_json("1", "1", {message_json("a")});
    const std::string signature = dev_sign_hex(good);
    const std::vector<std::pair<std::string, std::string>> rows = {
        {good + "\n", signature},              // one byte appended after signing
        {good, ""},                            // no signature at all
        {good, signature.substr(0, 126)},      // short
        {"not json", signature},               // broken JSON under a foreign signature
        {feed_json("2", "0", {}), signature},  // rule faults under a foreign signature
        {good, dev_sign_hex(good + " ")},      // signature of other bytes
    };
    for (const auto& [bytes, text] : rows) EXPECT_EQ(outcome(bytes, text), SIGNATURE_REJECTED) << bytes;
}

TEST(VerifyFeed, ReportsTheFirstFailingStepOfASignedFeed) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"not json", "messages: JSON ленты не разбирается: expected ident at line 1 column 2"},
        {"", "messages: JSON ленты не разбирается: EOF while parsing a value at line 1 column 0"},
        {R"({"schema":1})", "messages: JSON ленты не разбирается: missing field `revision` at line 1 column 12"},
        {feed_json("2", "0", {}), "messages: неизвестная schema 2"},
        {feed_json("1", "1", {}), "ok"},
        {"[1,1]", "ok"},
        {feed_json("1", "1", {message_json("a"), message_json("b", " "), message_json("a", "")}),
         "messages: пустые title/body после trim (id \"b\")"},
    };
    for (const auto& [bytes, expected] : rows) EXPECT_EQ(signed_outcome(bytes), expected) << bytes;
}

TEST(VerifyFeed, EveryCallStartsFromScratch) {
    const std::string good = feed_json("1", "3", {message_json("a")});
    const std::string signature = dev_sign_hex(good);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(outcome(good, signature), "ok");
        EXPECT_EQ(outcome(good, "00"), SIGNATURE_REJECTED);
    }
}

}  // namespace
}  // namespace mt
