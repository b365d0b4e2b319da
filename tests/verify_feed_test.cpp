#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "messages/messages.h"
#include "support/dev_signer.h"

namespace mt {
namespace {

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
    std::vector<std::string> sixty(60, message_json("same"));
    std::vector<std::string> fifty_one;
    for (int i = 0; i < 51; ++i) fifty_one.push_back(message_json("bad id " + std::to_string(i)));
    std::vector<std::string> fifty;
    for (int i = 0; i < 50; ++i) fifty.push_back(message_json("m" + std::to_string(i)));

    const std::vector<std::pair<std::string, std::string>> rows = {
        {"not json", "messages: JSON ленты не разбирается: expected ident at line 1 column 2"},
        {"", "messages: JSON ленты не разбирается: EOF while parsing a value at line 1 column 0"},
        {R"({"schema":1})", "messages: JSON ленты не разбирается: missing field `revision` at line 1 column 12"},
        {feed_json("2", "0", {}), "messages: неизвестная schema 2"},
        {feed_json("1", "0", sixty), "messages: revision обязателен и должен быть >= 1 — отклонена"},
        {feed_json("1", "1", fifty_one), "messages: 51 сообщений больше 50 — отклонена целиком"},
        {feed_json("1", "1", fifty), "ok"},
        {feed_json("1", "1", {}), "ok"},
        {R"({"schema":1,"revision":1})", "ok"},
        {"[1,1]", "ok"},
        {feed_json("1", "1", {message_json("a"), message_json("b", " "), message_json("a", "")}),
         "messages: пустые title/body после trim (id \"b\")"},
        {feed_json("1", "1", {message_json("a"), message_json("a")}), "messages: дубликат id \"a\""},
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
