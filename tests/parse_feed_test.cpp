#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "common/utf8.h"
#include "messages/messages.h"
#include "messages_internal.h"
#include "support/test_documents.h"

namespace mt {
namespace {

std::string outcome(std::string_view document) {
    testing::record_test_document(document);
    const auto feed = parse_feed(document);
    return feed ? "ok" : feed.error().text();
}

std::string outcome(std::string_view document, unsigned budget) {
    testing::record_test_document(document);
    const auto feed = parse_feed_with_budget(document, budget);
    return feed ? "ok" : feed.error().text();
}

// A feed whose message list is `messages`, written after a fixed 37-byte head, so that a
// column inside the list is 37 plus the column within `messages`.
std::string with_messages(std::string_view messages) {
    return R"({"schema":1,"revision":1,"messages":[)" + std::string(messages) + "]}";
}

// A message with every required field, followed by `more` members, then `}`.
std::string message_with(std::string_view more) {
    return R"({"id":"a","priority":1,"title":"t","body":"b","start_at":1,"end_at":2)" + std::string(more) + "}";
}

// A message with title "t", body "b" and no optional fields.
Message message(std::string id, std::uint8_t priority, std::int64_t start_at, std::int64_t end_at) {
    Message m;
    m.id = std::move(id);
    m.priority = priority;
    m.title = "t";
    m.body = "b";
    m.start_at = start_at;
    m.end_at = end_at;
    return m;
}

Message plain_message() { return message("a", 1, 1, 2); }

Feed feed_of(std::vector<Message> messages) { return Feed{1, 1, std::move(messages)}; }

struct AcceptRow {
    const char* name;
    std::string document;
    Feed expected;
};

TEST(ParseFeed, ReadsRecordsInEveryForm) {
    Message full = plain_message();
    full.cta = Cta{CtaKind::open_appearance};
    full.minVersion = "1.0.0";
    full.maxVersion = "";
    Message licence = plain_message();
    licence.cta = Cta{CtaKind::open_license};
    Message updates = plain_message();
    updates.cta = Cta{CtaKind::open_updates};

    const std::vector<AcceptRow> rows = {
        {"object form, no messages", R"({"schema":1,"revision":1})", feed_of({})},
        {"array form, two elements", "[1,1]", feed_of({})},
        {"array form, empty list", "[1,1,[]]", feed_of({})},
        {"zero schema and revision are read", R"({"schema":0,"revision":0})", Feed{0, 0, {}}},
        {"widest integers",
         with_messages(R"({"id":"a","priority":255,"title":"t","body":"b","start_at":-9223372036854775808,)"
                       R"("end_at":9223372036854775807})"),
         feed_of({message("a", 255, INT64_MIN, INT64_MAX)})},
        {"largest schema and revision", R"({"revision":18446744073709551615,"schema":4294967295})",
         Feed{4294967295u, 18446744073709551615u, {}}},
        {"members in any order, whitespace everywhere",
         " \t\r\n{ \"messages\" : [ ] ,\r\n\"revision\"\t:\t1 , \"schema\" :1 } \r\n", feed_of({})},
        {"every field, optional text empty not none",
         with_messages(message_with(R"(,"cta":{"kind":"open_appearance"},"minVersion":"1.0.0","maxVersion":"")")),
         feed_of({full})},
        {"null optionals are none", with_messages(message_with(R"(,"cta":null,"minVersion":null,"maxVersion":null)")),
         feed_of({plain_message()})},
        {"message array of six", with_messages(R"(["a",1,"t","b",1,2])"), feed_of({plain_message()})},
        {"message array of nine", with_messages(R"(["a",1,"t","b",1,2,{"kind":"open_appearance"},"1.0.0",""])"),
         feed_of({full})},
        {"cta array form", with_messages(message_with(R"(,"cta":["open_license"])")), feed_of({licence})},
        {"kind object form", with_messages(message_with(R"(,"cta":{"kind":{ "open_updates" : null }})")),
         feed_of({updates})},
        {"escaped keys",
         with_messages(R"({"\u0069d":"a","pri\u006Frity":1,"title":"t","body":"b","start_at":1,)"
                       R"("end_\u0061t":2})"),
         feed_of({plain_message()})},
        {"messages keep document order", with_messages(R"(["x",0,"t","b",1,2],["y",2,"t","b",1,2])"),
         feed_of({message("x", 0, 1, 2), message("y", 2, 1, 2)})},
    };
    for (const AcceptRow& row : rows) {
        testing::record_test_document(row.document);
        const auto feed = parse_feed(row.document);
        ASSERT_TRUE(feed) << row.name << ": " << feed.error().text();
        EXPECT_EQ(*feed, row.expected) << row.name;
        // Each message read on its own, from its first byte, is the same message at the same place.
        FeedLocations at;
        ASSERT_TRUE(parse_feed(row.document, &at));
        for (std::size_t i = 0; i < at.messages.size(); ++i) {
            RecordLocations where;
            const auto message = parse_message(row.document, at.messages[i].start, where);
            ASSERT_TRUE(message) << row.name;
            EXPECT_EQ(*message, feed->messages[i]) << row.name;
            EXPECT_EQ(where.end, at.messages[i].end) << row.name;
            EXPECT_EQ(where.values, at.messages[i].values) << row.name;
        }
    }
}

// A message that does not read on its own is one the feed refuses, and nothing after its
// closing bracket is read.
TEST(ParseFeed, OneMessageReadsAsInTheList) {
    const std::string head = R"({"schema":1,"revision":1,"messages":[)";
    const std::vector<std::string> rows = {
        message_with(R"(,"titel":1)"),
        message_with(R"(,"cta":{"kind":"x"})"),
        R"({"id":"a","priority":1})",
        R"(["a",1,"t","b",1,2,null,null,null,1])",
        "[[[",
    };
    for (const std::string& message : rows) {
        const std::string document = head + "\n" + message + "]}";
        ASSERT_FALSE(parse_feed(document)) << message;
        RecordLocations where;
        EXPECT_FALSE(parse_message(document, head.size() + 1, where)) << message;
    }
    RecordLocations where;
    const std::string two = with_messages(message_with("") + "garbage");
    EXPECT_TRUE(parse_message(two, two.find('{', 1), where));
    EXPECT_EQ(two.substr(where.end, 7), "garbage");
}

struct TextRow {
    std::string json;     // a JSON string literal as written in the document
    std::string decoded;  // the text it must read as
};

TEST(ParseFeed, DecodesStringsExactly) {
    const std::vector<TextRow> rows = {
        {R"("\"\\\/\b\f\n\r\t")", "\"\\/\b\f\n\r\t"},     {R"("\u0000\u0007\u001F")", std::string("\0\x07\x1f", 3)},
        {R"("\u00e9\u00C9\u0416\u20AC")", "éÉЖ€"},        {R"("\uD83D\uDE00")", "😀"},
        {R"("\uDBFF\uDFFF")", "\xF4\x8F\xBF\xBF"},        {"\"\x7f\"", "\x7f"},
        {"\"Привет, мир — ok 😀\"", "Привет, мир — ok 😀"}, {R"("a\u0022b")", "a\"b"},
    };
    for (const TextRow& row : rows) {
        const auto feed = parse_feed(
            with_messages(R"({"id":"a","priority":1,"title":)" + row.json + R"(,"body":"b","start_at":1,"end_at":2})"));
        ASSERT_TRUE(feed) << row.json << ": " << feed.error().text();
        EXPECT_EQ(feed->messages.at(0).title, row.decoded) << row.json;
    }
}

struct RejectRow {
    std::string document;
    std::string expected;
};

void expect_rejections(const std::vector<RejectRow>& rows) {
    for (const RejectRow& row : rows) EXPECT_EQ(outcome(row.document), row.expected) << row.document;
}

TEST(ParseFeed, SyntaxErrorsAtTheirByte) {
    expect_rejections({
        {"", "EOF while parsing a value at line 1 column 0"},
        {" \n ", "EOF while parsing a value at line 2 column 1"},
        {"\xEF\xBB\xBF{}", "expected value at line 1 column 1"},
        {"+1", "expected value at line 1 column 1"},
        {"nul", "EOF while parsing a value at line 1 column 3"},
        {"nulx", "expected ident at line 1 column 4"},
        {"fa1se", "expected ident at line 1 column 3"},
        {"{", "EOF while parsing an object at line 1 column 1"},
        {"[", "EOF while parsing a list at line 1 column 1"},
        {R"({"schema")", "EOF while parsing an object at line 1 column 9"},
        {R"({"schema" 1})", "expected `:` at line 1 column 11"},
        {R"({"schema":)", "EOF while parsing a value at line 1 column 10"},
        {R"({"schema":1)", "EOF while parsing an object at line 1 column 11"},
        {R"({"schema":1 "revision":1})", "expected `,` or `}` at line 1 column 13"},
        {R"({"schema":1,)", "EOF while parsing a value at line 1 column 12"},
        {R"({"schema":1,})", "trailing comma at line 1 column 13"},
        {R"({"schema":1,5:1})", "key must be a string at line 1 column 13"},
        {"{,}", "key must be a string at line 1 column 2"},
        {"[1", "EOF while parsing a list at line 1 column 2"},
        {"[1,", "EOF while parsing a value at line 1 column 3"},
        {"[1 1]", "expected `,` or `]` at line 1 column 4"},
        {"[1,]", "trailing comma at line 1 column 4"},
        {"[,1]", "expected value at line 1 column 2"},
        {"[1,1,[]", "EOF while parsing a list at line 1 column 7"},
        {"[1,1,[] 0]", "expected `,` or `]` at line 1 column 9"},
        {"[1,1,[],]", "trailing comma at line 1 column 9"},
        {"[1,1,[],0]", "trailing characters at line 1 column 9"},
        {"[1,1,[],", "trailing characters at line 1 column 8"},
        {R"({"schema":1,"revision":1} x)", "trailing characters at line 1 column 27"},
        {R"({"schema":1,"revision":1}})", "trailing characters at line 1 column 26"},
        {"[1,1]\n\n  [", "trailing characters at line 3 column 3"},
        {with_messages(R"(["a",1,"t","b",1,2]x)"), "expected `,` or `]` at line 1 column 57"},
        {with_messages(R"(["a",1,"t","b",1,2],])"), "trailing comma at line 1 column 58"},
        {with_messages("{},"), "missing field `id` at line 1 column 39"},
        // A NUL byte is a byte like any other, never the end of the input.
        {std::string("[1,1]\0xyz", 9), "trailing characters at line 1 column 6"},
        {std::string("[1\0", 3), "expected `,` or `]` at line 1 column 3"},
        {std::string("[\0]", 3), "expected value at line 1 column 2"},
    });
}

TEST(ParseFeed, NumberSyntax) {
    const std::string head = R"({"schema":1,"revision":)";  // 23 bytes
    expect_rejections({
        {head + "01}", "invalid number at line 1 column 25"},
        {head + "-01}", "invalid number at line 1 column 26"},
        {head + "-}", "invalid number at line 1 column 25"},
        {head + "- 1}", "invalid number at line 1 column 25"},
        {head + "-", "EOF while parsing a value at line 1 column 24"},
        {head + "1.}", "invalid number at line 1 column 26"},
        {head + "1.e5}", "invalid number at line 1 column 26"},
        {head + "1.", "EOF while parsing a value at line 1 column 25"},
        {head + "1e}", "invalid number at line 1 column 26"},
        {head + "1e+}", "invalid number at line 1 column 27"},
        {head + "1e+", "EOF while parsing a value at line 1 column 26"},
        {head + "1e400}", "number out of range at line 1 column 28"},
        {head + "-1e400}", "number out of range at line 1 column 29"},
        {head + std::string(310, '9') + "}", "number out of range at line 1 column 333"},
        // An exponent past 32 bits is refused at the digit that overflows it.
        {head + "1e99999999999}", "number out of range at line 1 column 35"},
        {head + "1x}", "expected `,` or `}` at line 1 column 25"},
        {head + "1" + std::string(400, '0') + "}", "number out of range at line 1 column 424"},
        {head + "0.5e99999999999}", "number out of range at line 1 column 37"},
        // Malformed numbers where a record, a list or a string is expected.
        {"-x", "invalid number at line 1 column 2"},
        {"[-]", "invalid number at line 1 column 3"},
        {R"({"schema":1,"revision":1,"messages":-x})", "invalid number at line 1 column 38"},
        {with_messages(R"({"id":01})"), "invalid number at line 1 column 45"},
    });
}

struct FloatRow {
    std::string number;
    std::string shown;
};

TEST(ParseFeed, FloatingPointIsShownShortestAndRoundTrip) {
    const std::vector<FloatRow> rows = {
        {"1.0", "1.0"},
        {"1e2", "100.0"},
        {"1.5", "1.5"},
        {"-0", "-0.0"},
        {"1e-5", "0.00001"},
        {"1.25e-5", "0.0000125"},
        {"1e-7", "1e-7"},
        {"1e15", "1000000000000000.0"},
        {"1e16", "1e+16"},
        {"1.5e300", "1.5e+300"},
        {"18446744073709551616", "1.8446744073709552e+19"},
        {"-9223372036854775809", "-9.223372036854776e+18"},
        {"1e-400", "0.0"},
        {"-1e-400", "-0.0"},
        {"1e-99999999999", "0.0"},
        {"5e-324", "5e-324"},
        // Twenty digits whose first nineteen lie between 2^64/10 and 2^64/9.
        {"20000000000000000000", "2e+19"},
        {"0." + std::string(400, '0') + "1", "0.0"},
        {"0e99999999999", "0.0"},
    };
    for (const FloatRow& row : rows) {
        const std::string document = R"({"schema":1,"revision":)" + row.number + "}";
        EXPECT_EQ(outcome(document), "invalid type: floating point `" + row.shown +
                                         "`, expected u64 at line 1 column " + std::to_string(23 + row.number.size()))
            << row.number;
    }
}

TEST(ParseFeed, IntegersByFieldWidth) {
    expect_rejections({
        {with_messages(R"({"id":"a","priority":300})"),
         "invalid value: integer `300`, expected u8 at line 1 column 61"},
        {with_messages(R"({"id":"a","priority":-1})"), "invalid value: integer `-1`, expected u8 at line 1 column 60"},
        {with_messages(R"({"id":"a","priority":1.0})"),
         "invalid type: floating point `1.0`, expected u8 at line 1 column 61"},
        {with_messages(R"({"id":"a","priority":"1"})"), "invalid type: string \"1\", expected u8 at line 1 column 61"},
        {with_messages(R"({"id":"a","priority":true})"),
         "invalid type: boolean `true`, expected u8 at line 1 column 62"},
        {with_messages(R"({"id":"a","priority":{}})"), "invalid type: map, expected u8 at line 1 column 58"},
        {with_messages(R"(["a",1,"t","b",-0,2])"),
         "invalid type: floating point `-0.0`, expected i64 at line 1 column 54"},
        {with_messages(R"(["a",1,"t","b",9223372036854775808,2])"),
         "invalid value: integer `9223372036854775808`, expected i64 at line 1 column 71"},
        {with_messages(R"(["a",1,"t","b",1,-9223372036854775809])"),
         "invalid type: floating point `-9.223372036854776e+18`, expected i64 at line 1 column 74"},
        {R"({"schema":1,"revision":-1})", "invalid value: integer `-1`, expected u64 at line 1 column 25"},
        {R"({"schema":4294967296})", "invalid value: integer `4294967296`, expected u32 at line 1 column 20"},
        {R"({"schema":false})", "invalid type: boolean `false`, expected u32 at line 1 column 15"},
        {R"({"schema":[1]})", "invalid type: sequence, expected u32 at line 1 column 10"},
    });
}

TEST(ParseFeed, RecordShapeErrors) {
    const std::string message_keys =
        "one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, `cta`, `minVersion`, `maxVersion`";
    expect_rejections({
        {"{}", "missing field `schema` at line 1 column 2"},
        {R"({"schema":1})", "missing field `revision` at line 1 column 12"},
        {"[]", "invalid length 0, expected struct Feed with 3 elements at line 1 column 2"},
        {"[1 ]", "invalid length 1, expected struct Feed with 3 elements at line 1 column 4"},
        {"5", "invalid type: integer `5`, expected struct Feed at line 1 column 1"},
        {"\"feed\"", "invalid type: string \"feed\", expected struct Feed at line 1 column 6"},
        {"null", "invalid type: null, expected struct Feed at line 1 column 4"},
        {R"({"schema":1,"revision":1,"extra":0})",
         "unknown field `extra`, expected one of `schema`, `revision`, `messages` at line 1 column 32"},
        // A refused key is reported before its value is looked at, after the whitespace that follows it.
        {R"({"schema":1,"revision":1,"extra" )",
         "unknown field `extra`, expected one of `schema`, `revision`, `messages` at line 1 column 33"},
        {R"({"schema":1,"revision":1,"extra":@})",
         "unknown field `extra`, expected one of `schema`, `revision`, `messages` at line 1 column 32"},
        {R"({"Schema":1})",
         "unknown field `Schema`, expected one of `schema`, `revision`, `messages` at line 1 column 9"},
        {R"({"schema":1,"revision":1,"schema":1})", "duplicate field `schema` at line 1 column 33"},
        {R"({"schema":1,"revision":1,"schema"  x)", "duplicate field `schema` at line 1 column 35"},
        {R"({"schema":1,"revision":1,"messages":null})", "invalid type: null, expected a sequence at line 1 column 40"},
        {R"({"schema":1,"revision":1,"messages":{}})", "invalid type: map, expected a sequence at line 1 column 36"},
        {with_messages("1"), "invalid type: integer `1`, expected struct Message at line 1 column 38"},
        {with_messages(R"({"id":"a"})"), "missing field `priority` at line 1 column 47"},
        {with_messages(R"({"id":"a","priority":1,"title":"t","body":"b","start_at":1})"),
         "missing field `end_at` at line 1 column 96"},
        {with_messages(R"({"Id":"a"})"), "unknown field `Id`, expected " + message_keys + " at line 1 column 42"},
        {with_messages(message_with(R"(,"min_version":"1.0.0")")),
         "unknown field `min_version`, expected " + message_keys + " at line 1 column 120"},
        {with_messages(message_with(R"(,"minVersion":null,"minVersion":"1.0.0")")),
         "duplicate field `minVersion` at line 1 column 137"},
        {with_messages(message_with(R"(,"cta":null,"cta":null)")), "duplicate field `cta` at line 1 column 123"},
        {with_messages(R"(["a",1,"t","b",1])"),
         "invalid length 5, expected struct Message with 9 elements at line 1 column 54"},
        {with_messages(R"(["a",1,"t","b",1,2,null,null,null,null])"), "trailing characters at line 1 column 72"},
        {with_messages(R"({"id":5})"), "invalid type: integer `5`, expected a string at line 1 column 44"},
        {with_messages(message_with(R"(,"minVersion":1)")),
         "invalid type: integer `1`, expected a string at line 1 column 121"},
    });
}

// A refused key with a `}` after it (and any whitespace) is reported just after that `}`, which
// the reader takes before it stops; before any other byte it stands after the key.
TEST(ParseFeed, RefusedKeyBeforeAClosingBrace) {
    const std::string feed_keys = "expected one of `schema`, `revision`, `messages`";
    const std::string message_keys =
        "expected one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, `cta`, `minVersion`, `maxVersion`";
    const auto with_cta = [](std::string_view cta) {
        return with_messages(message_with(",\"cta\":" + std::string(cta)));
    };
    expect_rejections({
        {R"({"schema":1,"revision":1,"extra"})", "unknown field `extra`, " + feed_keys + " at line 1 column 33"},
        {R"({"schema":1,"revision":1,"schema"})", "duplicate field `schema` at line 1 column 34"},
        {R"({"schema":1,"extra" ]})", "unknown field `extra`, " + feed_keys + " at line 1 column 20"},
        {R"({"schema":1,"extra" ,})", "unknown field `extra`, " + feed_keys + " at line 1 column 20"},
        {R"({"schema":1,"extra"  )", "unknown field `extra`, " + feed_keys + " at line 1 column 21"},
        {with_messages(R"({"id":"a","Id"})"), "unknown field `Id`, " + message_keys + " at line 1 column 52"},
        {with_messages("{\"id\":\"a\",\"id\"\r\n\t}"), "duplicate field `id` at line 2 column 2"},
        {with_cta(R"({"kind":"open_updates","url"})"), "unknown field `url`, expected `kind` at line 1 column 142"},
        {with_cta(R"({"kind":"open_updates","kind" })"), "duplicate field `kind` at line 1 column 144"},
        // The kind's object form keeps its position just after the key.
        {with_cta(R"({"kind":{"open_x"}})"),
         "unknown variant `open_x`, expected one of `open_updates`, `open_appearance`, `open_license` at line 1 "
         "column 130"},
    });
}

// An optional version's null cut short or misspelt is a reading error, never a missing version.
TEST(ParseFeed, OptionalNullMustBeWhole) {
    expect_rejections({
        {with_messages(message_with(R"(,"minVersion":nul)")), "expected ident at line 1 column 124"},
        {with_messages(message_with(R"(,"maxVersion":nulL)")), "expected ident at line 1 column 124"},
        {with_messages(message_with(R"(,"minVersion":nil)")), "expected ident at line 1 column 122"},
        {R"({"schema":1,"revision":1,"messages":[["a",1,"t","b",1,2,null,nu)",
         "EOF while parsing a value at line 1 column 63"},
    });
}

// Beside its text, a reading error says what went wrong and where, for programs that act on it:
// the reason, the key and the value it is about with where they stand, and the record it is in.
TEST(ParseFeed, ErrorsAreValues) {
    struct Row {
        std::string document;
        Reason reason;
        std::size_t offset;
        std::string key = "";
        std::size_t key_offset = NO_OFFSET;
        std::size_t key_end = NO_OFFSET;
        std::size_t first_key_offset = NO_OFFSET;
        RecordKind record = RecordKind::none;
        std::size_t record_offset = NO_OFFSET;
        std::size_t message_index = NO_MESSAGE;
        std::optional<std::string> message_id = std::nullopt;
        ValueType expected = ValueType::none;
        FoundValue found = FoundValue::none;
        std::size_t value_offset = NO_OFFSET;
        std::size_t invalid_byte_offset = NO_OFFSET;
        std::string_view field = "";
    };
    using enum Reason;
    const std::string two = with_messages(message_with("") + "," + R"({"id":"b","priority":1.5})");
    const std::vector<Row> rows = {
        {.document = "", .reason = eof_value, .offset = 0},
        {.document = "{\"schema\":1,}",
         .reason = trailing_comma,
         .offset = 13,
         .record = RecordKind::feed,
         .record_offset = 0},
        {.document = R"({"schema":"\u00e9\xff"})",
         .reason = invalid_escape,
         .offset = 19,
         .record = RecordKind::feed,
         .record_offset = 0},
        {.document = "{\"schema\":\"\xd0\x9f\xff\"}",
         .reason = invalid_code_point,
         .offset = 15,
         .record = RecordKind::feed,
         .record_offset = 0,
         .expected = ValueType::none,
         .invalid_byte_offset = 13},
        {.document = R"({"schema":1e999})",
         .reason = number_out_of_range,
         .offset = 15,
         .record = RecordKind::feed,
         .record_offset = 0},
        {.document = R"({"schema":1,"revision":-1})",
         .reason = invalid_value,
         .offset = 25,
         .record = RecordKind::feed,
         .record_offset = 0,
         .expected = ValueType::u64,
         .found = FoundValue::integer,
         .value_offset = 23,
         .field = "revision"},
        {.document = two,
         .reason = invalid_type,
         .offset = 132,
         .record = RecordKind::message,
         .record_offset = 108,
         .message_index = 1,
         .message_id = "b",
         .expected = ValueType::u8,
         .found = FoundValue::floating,
         .value_offset = 129,
         .field = "priority"},
        {.document = with_messages(R"({"priority":1,"id":true})"),
         .reason = invalid_type,
         .offset = 60,
         .record = RecordKind::message,
         .record_offset = 37,
         .message_index = 0,
         .expected = ValueType::string,
         .found = FoundValue::boolean,
         .value_offset = 56,
         .field = "id"},
        {.document = R"( {"schema":1,"revision":1,"messages":[],"Schema":1})",
         .reason = unknown_field,
         .offset = 48,
         .key = "Schema",
         .key_offset = 40,
         .key_end = 48,
         .record = RecordKind::feed,
         .record_offset = 1},
        {.document = R"({"schema":1,"revision":1,"schema" :1})",
         .reason = duplicate_field,
         .offset = 34,
         .key = "schema",
         .key_offset = 25,
         .key_end = 33,
         .first_key_offset = 1,
         .record = RecordKind::feed,
         .record_offset = 0},
        {.document = with_messages(R"({"id":"x"})"),
         .reason = missing_field,
         .offset = 47,
         .key = "priority",
         .record = RecordKind::message,
         .record_offset = 37,
         .message_index = 0,
         .message_id = "x"},
        {.document = with_messages(R"(["a",1])"),
         .reason = invalid_length,
         .offset = 44,
         .record = RecordKind::message,
         .record_offset = 37,
         .message_index = 0,
         .message_id = "a",
         .expected = ValueType::message},
        {.document = with_messages(message_with(R"(,"cta":{"kind":"x"})")),
         .reason = unknown_variant,
         .offset = 124,
         .key = "x",
         .key_offset = 121,
         .key_end = 124,
         .record = RecordKind::cta,
         .record_offset = 113,
         .message_index = 0,
         .message_id = "a"},
        // Inside the object form of a kind, the kind is the record.
        {.document = with_messages(message_with(R"(,"cta":{"kind":{"open_license":1}})")),
         .reason = invalid_type,
         .offset = 138,
         .record = RecordKind::kind,
         .record_offset = 121,
         .message_index = 0,
         .message_id = "a",
         .expected = ValueType::unit,
         .found = FoundValue::integer,
         .value_offset = 137},
        {.document = R"({"schema":1,"revision":1,"messages":[[[[[]]]]]})",
         .reason = invalid_type,
         .offset = 38,
         .record = RecordKind::message,
         .record_offset = 37,
         .message_index = 0,
         .expected = ValueType::string,
         .found = FoundValue::sequence,
         .value_offset = 38},
        // The field of a type error is the member's whose own value it is, white space between
        // them; an element of a list or of a record's array form has none.
        {.document = "{\"schema\":1,\"revision\":1,\"messages\" :\n\t5}",
         .reason = invalid_type,
         .offset = 40,
         .record = RecordKind::feed,
         .record_offset = 0,
         .expected = ValueType::sequence,
         .found = FoundValue::integer,
         .value_offset = 39,
         .field = "messages"},
        {.document = R"({"schema":1,"revision":1,"messages":[5]})",
         .reason = invalid_type,
         .offset = 38,
         .record = RecordKind::feed,
         .record_offset = 0,
         .message_index = 0,
         .expected = ValueType::message,
         .found = FoundValue::integer,
         .value_offset = 37},
        {.document = with_messages(R"(["a",true])"),
         .reason = invalid_type,
         .offset = 46,
         .record = RecordKind::message,
         .record_offset = 37,
         .message_index = 0,
         .message_id = "a",
         .expected = ValueType::u8,
         .found = FoundValue::boolean,
         .value_offset = 42},
    };
    for (const Row& row : rows) {
        testing::record_test_document(row.document);
        const auto feed = parse_feed(row.document);
        ASSERT_FALSE(feed) << row.document;
        const ReadError& e = feed.error();
        EXPECT_EQ(e.reason, row.reason) << row.document;
        EXPECT_EQ(e.kind(), kind_of(row.reason)) << row.document;
        EXPECT_EQ(e.offset, row.offset) << row.document;
        EXPECT_EQ(e.key, row.key) << row.document;
        EXPECT_EQ(e.key_offset, row.key_offset) << row.document;
        EXPECT_EQ(e.key_end, row.key_end) << row.document;
        EXPECT_EQ(e.first_key_offset, row.first_key_offset) << row.document;
        EXPECT_EQ(e.record, row.record) << row.document;
        EXPECT_EQ(e.record_offset, row.record_offset) << row.document;
        EXPECT_EQ(e.message_index, row.message_index) << row.document;
        EXPECT_EQ(e.message_id, row.message_id) << row.document;
        EXPECT_EQ(e.expected, row.expected) << row.document;
        EXPECT_EQ(e.found, row.found) << row.document;
        EXPECT_EQ(e.value_offset, row.value_offset) << row.document;
        EXPECT_EQ(e.invalid_byte_offset, row.invalid_byte_offset) << row.document;
        EXPECT_EQ(e.field, row.field) << row.document;
        EXPECT_EQ(e.reason == unknown_field || e.reason == unknown_variant, !e.expected_keys.empty()) << row.document;
    }
}

TEST(ParseFeed, CallToActionAndKind) {
    // Every document below is the fixed message with `"cta":` and the value shown; the value
    // begins at column 114.
    const auto with_cta = [](std::string_view cta) {
        return with_messages(message_with(",\"cta\":" + std::string(cta)));
    };
    const std::string cta_head = with_messages(message_with(R"(,"cta":)")).substr(0, 113);
    const std::string variants = "expected one of `open_updates`, `open_appearance`, `open_license`";
    expect_rejections({
        {with_cta("{}"), "missing field `kind` at line 1 column 115"},
        {with_cta("[]"), "invalid length 0, expected struct Cta with 1 element at line 1 column 115"},
        {with_cta(R"(["open_updates",1])"), "trailing characters at line 1 column 130"},
        {with_cta(R"("open_updates")"),
         "invalid type: string \"open_updates\", expected struct Cta at line 1 column 127"},
        {with_cta("true"), "invalid type: boolean `true`, expected struct Cta at line 1 column 117"},
        {with_cta(R"({"kind":"open_updates","url":"x"})"), "unknown field `url`, expected `kind` at line 1 column 141"},
        {with_cta(R"({"kind":"open_settings"})"),
         "unknown variant `open_settings`, " + variants + " at line 1 column 136"},
        {with_cta(R"({"kind":null})"), "expected value at line 1 column 122"},
        {with_cta(R"({"kind":1})"), "expected value at line 1 column 122"},
        {with_cta(R"({"kind":["open_updates"]})"), "expected value at line 1 column 122"},
        {with_cta(R"({"kind":{}})"), "expected value at line 1 column 123"},
        {with_cta(R"({"kind":{1:null}})"), "key must be a string at line 1 column 123"},
        {with_cta(R"({"kind":{"open_updates" null}})"), "expected `:` at line 1 column 138"},
        {with_cta(R"({"kind":{"open_update":null}})"),
         "unknown variant `open_update`, " + variants + " at line 1 column 135"},
        {with_cta(R"({"kind":{"open_updates":1}})"), "invalid type: integer `1`, expected unit at line 1 column 138"},
        {with_cta(R"({"kind":{"open_updates":[]}})"), "invalid type: sequence, expected unit at line 1 column 137"},
        {with_cta(R"({"kind":{"open_updates":nul}})"), "expected ident at line 1 column 141"},
        {with_cta(R"({"kind":{"open_updates":null , "open_license":null}})"), "expected value at line 1 column 142"},
        {cta_head + R"({"kind":{"open_updates":null)", "EOF while parsing an object at line 1 column 141"},
        {cta_head + R"({"kind":{"open_updates")", "EOF while parsing an object at line 1 column 136"},
        {cta_head + R"({"kind":{)", "EOF while parsing an object at line 1 column 122"},
        {cta_head + R"({"kind":)", "EOF while parsing a value at line 1 column 121"},
    });
}

TEST(ParseFeed, StringErrors) {
    // The document up to the title's text, which begins at column 70, and nothing after it.
    const auto with_title = [](std::string_view title) {
        return R"({"schema":1,"revision":1,"messages":[{"id":"a","priority":1,"title":")" + std::string(title);
    };
    expect_rejections({
        {with_title("a\tb\""), "control character (\\u0000-\\u001F) found while parsing a string at line 1 column 71"},
        {with_title("a\nb\""), "control character (\\u0000-\\u001F) found while parsing a string at line 2 column 0"},
        {with_title(std::string("\0\"", 2)),
         "control character (\\u0000-\\u001F) found while parsing a string at line 1 column 70"},
        {with_title("a\xff\""), "invalid unicode code point at line 1 column 72"},
        {with_title("\xff\x01\""),
         "control character (\\u0000-\\u001F) found while parsing a string at line 1 column 71"},
        {with_title("\xff"), "EOF while parsing a string at line 1 column 70"},
        {with_title("\xc0\x80\""), "invalid unicode code point at line 1 column 72"},
        {with_title("\xed\xa0\x80\""), "invalid unicode code point at line 1 column 73"},
        {with_title("\xf4\x90\x80\x80\""), "invalid unicode code point at line 1 column 74"},
        {with_title("ab"), "EOF while parsing a string at line 1 column 71"},
        {with_title("a\\"), "EOF while parsing a string at line 1 column 71"},
        {with_title("a\\x\""), "invalid escape at line 1 column 72"},
        {with_title("a\\U0041\""), "invalid escape at line 1 column 72"},
        {with_title("\\u12G4\""), "invalid escape at line 1 column 75"},
        {with_title("\\u12"), "EOF while parsing a string at line 1 column 73"},
        {with_title("\\uDC00\""), "lone leading surrogate in hex escape at line 1 column 75"},
        {with_title("\\uD800\\u0041\""), "lone leading surrogate in hex escape at line 1 column 81"},
        {with_title("\\uD800\\uD800\""), "lone leading surrogate in hex escape at line 1 column 81"},
        {with_title("\\uD800x\""), "unexpected end of hex escape at line 1 column 76"},
        {with_title("\\uD800\\n\""), "unexpected end of hex escape at line 1 column 77"},
        {with_title("\\uD800\""), "unexpected end of hex escape at line 1 column 76"},
        {with_title("\\uD800"), "EOF while parsing a string at line 1 column 75"},
        {with_title("\\uD800\\"), "EOF while parsing a string at line 1 column 76"},
        {with_title("\\uD800\\uDC"), "EOF while parsing a string at line 1 column 79"},
        // A whole block of bytes that cannot stand in UTF-8, with more document after it.
        {with_title(std::string(16, '\x80') + R"(","body":"b"})"), "invalid unicode code point at line 1 column 86"},
        // Escapes that end exactly at the end of the input.
        {R"({"\u12G4)", "invalid escape at line 1 column 8"},
        {R"({"\uDC00)", "lone leading surrogate in hex escape at line 1 column 8"},
    });
}

TEST(ParseFeed, ColumnsCountBytesAndLinesCountLineFeeds) {
    expect_rejections({
        // Each Cyrillic letter is two bytes: the five-letter title moves the error ten columns on.
        {with_messages(R"({"id":"a","priority":1,"title":"Пусть","bodi":"b"})"),
         "unknown field `bodi`, expected one of `id`, `priority`, `title`, `body`, `start_at`, `end_at`, `cta`, "
         "`minVersion`, `maxVersion` at line 1 column 87"},
        {with_messages(R"({"id":"a","priority":1,"title":"Пусть","body":"Ё","start_at":x})"),
         "expected value at line 1 column 105"},
        // A carriage return is a byte of its line; only line feeds start a new one.
        {"{\r\n\"schema\":1,\r\n\"revision\":1,\r\n\"x\":0}",
         "unknown field `x`, expected one of `schema`, `revision`, "
         "`messages` at line 4 column 3"},
        {"{\r\n  \"schema\": 1,\r\n  \"revision\": 1\r\n}\r\nx", "trailing characters at line 5 column 1"},
        {"[1,\r\r1,\n\n\n[]\r\n,", "trailing characters at line 5 column 1"},
    });
}

TEST(ParseFeed, DocumentTextInUnknownNamesCannotBreakTheLine) {
    const std::string variants = "expected one of `open_updates`, `open_appearance`, `open_license`";
    const std::string feed_keys = "expected one of `schema`, `revision`, `messages`";
    expect_rejections({
        {R"({"a\u001b[2J":1})", "unknown field `a\\u{1b}[2J`, " + feed_keys + " at line 1 column 13"},
        {R"({"line\nfeed\r\t":1})", "unknown field `line\\nfeed\\r\\t`, " + feed_keys + " at line 1 column 17"},
        {R"({"x\u0000y\u200Bz\u0085":1})",
         "unknown field `x\\0y\\u{200b}z\\u{85}`, " + feed_keys + " at line 1 column 24"},
        {R"({"a\"b\\c 'd' é":1})", "unknown field `a\"b\\c 'd' é`, " + feed_keys + " at line 1 column 17"},
        {with_messages(message_with(R"(,"cta":["open\u0007\n"])")),
         "unknown variant `open\\u{7}\\n`, " + variants + " at line 1 column 128"},
        {with_messages(message_with(R"(,"cta":{"kind":{"\u001b]0;x\u0007":null}})")),
         "unknown variant `\\u{1b}]0;x\\u{7}`, " + variants + " at line 1 column 140"},
    });
}

struct BudgetRow {
    std::string document;
    unsigned budget;
    std::string expected;
};

TEST(ParseFeed, NestingBudgetGuardsEveryLevel) {
    // Five levels: feed, message list, message, call to action, object form of the kind.
    const std::string deepest = with_messages(message_with(R"(,"cta":{"kind":{"open_license":null}})"));
    const std::vector<BudgetRow> rows = {
        {deepest, 128, "ok"},
        {deepest, 6, "ok"},
        {deepest, 5, "recursion limit exceeded at line 1 column 122"},
        {deepest, 4, "recursion limit exceeded at line 1 column 114"},
        {deepest, 3, "recursion limit exceeded at line 1 column 38"},
        {deepest, 2, "recursion limit exceeded at line 1 column 37"},
        {deepest, 1, "recursion limit exceeded at line 1 column 1"},
        {deepest, 0, "recursion limit exceeded at line 1 column 1"},
        {"  [1,1]", 1, "recursion limit exceeded at line 1 column 3"},
        {R"({"schema":1,"revision":1,"messages":[],"messages":[[]]})", 3,
         "duplicate field `messages` at line 1 column 49"},
        // Units come back on leaving: siblings do not add up.
        {with_messages(R"(["a",1,"t","b",1,2,["open_license"]],["b",1,"t","b",1,2,["open_license"]])"), 5, "ok"},
    };
    for (const BudgetRow& row : rows)
        EXPECT_EQ(outcome(row.document, row.budget), row.expected) << row.document << " budget " << row.budget;
}

// The position of the end of `text`, as an error there reports it.
std::string end_position(std::string_view text) {
    const std::size_t last_line_feed = text.rfind('\n');
    const auto line = 1 + std::count(text.begin(), text.end(), '\n');
    const std::size_t column =
        last_line_feed == std::string_view::npos ? text.size() : text.size() - last_line_feed - 1;
    return " at line " + std::to_string(line) + " column " + std::to_string(column);
}

TEST(ParseFeed, EveryTruncationEndsInAnEndOfInputError) {
    const std::string document =
        "{\r\n \"schema\": 1, \"revision\": 20261209,\n \"messages\": [\n"
        "  {\"id\": \"rel-1\", \"priority\": 2, \"title\": \"Обновление 😀\", \"body\": \"Строка\\n\\\"цитата\\\" "
        "\\u00e9\\uD83D\\uDE00\", \"start_at\": -17, \"end_at\": 1765000000, \"cta\": {\"kind\": {\"open_updates\": "
        "null}}, \"minVersion\": null, \"maxVersion\": \"2.4.0\"},\n"
        "  [\"rel-2\", 0, \"t\", \"b\", 1, 2, [\"open_license\"], \"1.0.0\"]\n ]\n}";
    ASSERT_EQ(outcome(document), "ok");
    for (std::size_t length = 0; length < document.size(); ++length) {
        const std::string_view prefix(document.data(), length);
        const std::string text = outcome(prefix);
        EXPECT_TRUE(text.starts_with("EOF while parsing ") && text.ends_with(end_position(prefix)))
            << "prefix of " << length << " bytes: " << text;
    }
}

TEST(ParseFeed, DamagedDocumentsGiveOneLineWithAPosition) {
    // Every byte of a valid document replaced in turn by bytes that matter to the reader: no
    // crash, no read past the end, and either a feed or one line ending in a position.
    const std::string document =
        with_messages(R"({"id":"a","priority":1,"title":"Тема","body":"\u00e9\"","start_at":-1,"end_at":2e0,)"
                      R"("cta":{"kind":{"open_updates":null}},"minVersion":null})");
    const std::string replacements = std::string("\0\n\"\\{}[],:-0e.nu\x80\xd0\xff ", 20);
    for (std::size_t at = 0; at < document.size(); ++at) {
        for (const char replacement : replacements) {
            std::string damaged = document;
            damaged[at] = replacement;
            const auto feed = parse_feed(damaged);
            if (feed) continue;
            const std::string& text = feed.error().text();
            EXPECT_EQ(text.find('\n'), std::string::npos) << text;
            EXPECT_NE(text.find(" at line "), std::string::npos) << text;
        }
    }
}

TEST(ParseFeed, Utf8IsCheckedAtEveryOffset) {
    // Valid and invalid sequences at every place within long strings, against the shared
    // validator: the check must not depend on where a sequence falls among the bytes.
    const std::vector<std::string> sequences = {
        "é",
        "Ж",
        "€",
        "—",
        "😀",
        "\xEF\xBF\xBF",
        "\xC0\x80",
        "\xC1\xBF",
        "\xC2",
        "\x80",
        "\xBF",
        "\xE0\x80\x80",
        "\xE0\x9F\xBF",
        "\xED\xA0\x80",
        "\xED\x9F\xBF",
        "\xE2\x82",
        "\xF0\x8F\xBF\xBF",
        "\xF4\x90\x80\x80",
        "\xF5\x80\x80\x80",
        "\xFF",
        "\xC2\xC2\x80",
        "\xE2\x28\xA1",
        "Ж\x80",
    };
    for (const std::string& sequence : sequences) {
        for (std::size_t before = 0; before < 40; ++before) {
            for (const std::string filler : {"a", "Ж"}) {
                std::string text;
                while (text.size() < before) text += filler;
                text += sequence;
                text += "tail of the text, long enough to span blocks";
                const std::string document = "[1,1,[[\"" + text + "\",1,\"t\",\"b\",1,2]]]";
                const auto feed = parse_feed(document);
                if (is_valid_utf8(text)) {
                    ASSERT_TRUE(feed) << feed.error().text();
                    EXPECT_EQ(feed->messages.at(0).id, text);
                } else {
                    EXPECT_EQ(outcome(document),
                              "invalid unicode code point" + end_position(document.substr(0, 9 + text.size())))
                        << ::testing::PrintToString(text);
                }
            }
        }
    }
}

}  // namespace
}  // namespace mt
