#include "support/sample_feeds.h"

#include <cstddef>

namespace mt::testing {
namespace {

constexpr std::size_t FEED_LIMIT = 65536;

std::string cyrillic_letters(std::size_t count) {
    static constexpr const char* LETTERS[] = {"а", "б", "в", "г", "д", "е", "ж", "з",
                                              "и", "к", "л", "м", "н", "о", "п"};
    std::string out;
    for (std::size_t i = 0; i < count; ++i) out += LETTERS[i % std::size(LETTERS)];
    return out;
}

// The JSON form of a mixed Russian and English text with punctuation and escaped quotes,
// `count` characters long once decoded.
std::string body_text(std::size_t count) {
    static const std::string PATTERN =
        "Вышла новая версия Orvenda: быстрее запуск, меньше памяти. См. \\\"Что нового\\\" — v2.4.1! ";
    std::string out;
    std::size_t at = 0;
    for (std::size_t chars = 0; chars < count; ++chars) {
        const auto lead = static_cast<unsigned char>(PATTERN[at]);
        const std::size_t length = lead == '\\' ? 2 : lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        out.append(PATTERN, at, length);
        at = (at + length) % PATTERN.size();
    }
    return out;
}

std::string feed_with_bodies(std::size_t body_chars) {
    static constexpr const char* KINDS[] = {"open_updates", "open_appearance", "open_license"};
    std::string out = "{\n  \"schema\": 1,\n  \"revision\": 2026120901,\n  \"messages\": [\n";
    for (int i = 0; i < 50; ++i) {
        const std::string n = std::to_string(i);
        out += "    {\"id\": \"release-note-" + n + "\", \"priority\": " + std::to_string(i % 3) + ", \"title\": \"" +
               cyrillic_letters(80) + "\", \"body\": \"" + body_text(body_chars) +
               "\", \"start_at\": 1765000000, \"end_at\": 1767000000, \"cta\": {\"kind\": \"" + KINDS[i % 3] +
               "\"}, \"minVersion\": \"2.1.0\", \"maxVersion\": \"2.4." + n + "\"}";
        out += i < 49 ? ",\n" : "\n";
    }
    return out + "  ]\n}\n";
}

// One mistake an author makes, in turn, in each message line of a feed: typographic quotes
// round the title, single quotes round the id, a comma missing after the priority, a comma
// too many at the end, a comment after the line.
std::string with_a_mistake_in_every_message(const std::string& feed) {
    std::string out;
    std::size_t message = 0;
    for (std::size_t at = 0; at < feed.size();) {
        const std::size_t end = feed.find('\n', at) + 1;
        std::string line = feed.substr(at, end - at);
        at = end;
        if (line.starts_with("    {")) {
            const auto replace = [&](const std::string& from, const std::string& to, bool last = false) {
                const std::size_t where = last ? line.rfind(from) : line.find(from);
                line.replace(where, from.size(), to);
            };
            switch (message++ % 5) {
                case 0:
                    replace("\"title\": \"", "\"title\": \u201C");
                    replace("\", \"body\"", "\u201D, \"body\"");
                    break;
                case 1:
                    replace("\"release-note-", "'release-note-");
                    replace("\", \"priority\"", "', \"priority\"");
                    break;
                case 2:
                    replace(", \"title\"", " \"title\"");
                    break;
                case 3:
                    replace("\"}", "\",}", true);
                    break;
                default:
                    replace("\n", " // проверить\n", true);
                    break;
            }
        }
        out += line;
    }
    return out;
}

}  // namespace

std::string largest_realistic_draft() {
    std::size_t body_chars = 800;
    std::string draft = with_a_mistake_in_every_message(feed_with_bodies(body_chars));
    while (draft.size() > FEED_LIMIT) draft = with_a_mistake_in_every_message(feed_with_bodies(--body_chars));
    return draft;
}

std::string largest_realistic_feed() {
    std::size_t body_chars = 800;
    std::string feed = feed_with_bodies(body_chars);
    while (feed.size() > FEED_LIMIT) feed = feed_with_bodies(--body_chars);
    return feed;
}

std::string long_string_feed() {
    const std::string head = R"({"schema":1,"revision":1,"messages":[{"id":"long","priority":0,"title":"t","body":")";
    const std::string tail = R"(","start_at":1,"end_at":2}]})";
    std::size_t chars = 0;
    while (head.size() + body_text(chars + 1000).size() + tail.size() <= FEED_LIMIT) chars += 1000;
    while (head.size() + body_text(chars + 1).size() + tail.size() <= FEED_LIMIT) ++chars;
    return head + body_text(chars) + tail;
}

}  // namespace mt::testing
