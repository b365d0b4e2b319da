#include "support/test_documents.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/json_string.h"

namespace mt::testing {
namespace {

const char* document_dir() {
    const char* dir = std::getenv(TEST_DOCUMENT_DIR_VARIABLE);
    return dir != nullptr && *dir != '\0' ? dir : nullptr;
}

// 64-bit FNV-1a: enough to tell a few thousand documents apart, and needs nothing.
std::string content_name(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    char name[24];
    std::snprintf(name, sizeof name, "%016llx.json", static_cast<unsigned long long>(hash));
    return name;
}

void write_member(std::string& out, std::string_view key, const std::string& value, bool first = false) {
    if (!first) out += ',';
    append_json_string(out, key);
    out += ':';
    out += value;
}

std::string quoted(std::string_view text) {
    std::string out;
    append_json_string(out, text);
    return out;
}

std::string feed_json(const Feed& feed) {
    std::string out = "{";
    write_member(out, "schema", std::to_string(feed.schema), true);
    write_member(out, "revision", std::to_string(feed.revision));
    out += R"(,"messages":[)";
    for (std::size_t i = 0; i < feed.messages.size(); ++i) {
        const Message& m = feed.messages[i];
        if (i > 0) out += ',';
        out += '{';
        write_member(out, "id", quoted(m.id), true);
        write_member(out, "priority", std::to_string(m.priority));
        write_member(out, "title", quoted(m.title));
        write_member(out, "body", quoted(m.body));
        write_member(out, "start_at", std::to_string(m.start_at));
        write_member(out, "end_at", std::to_string(m.end_at));
        if (m.cta)
            write_member(out, "cta",
                         R"({"kind":)" + quoted(CTA_KIND_NAMES[static_cast<std::size_t>(m.cta->kind)]) + "}");
        if (m.minVersion) write_member(out, "minVersion", quoted(*m.minVersion));
        if (m.maxVersion) write_member(out, "maxVersion", quoted(*m.maxVersion));
        out += '}';
    }
    return out + "]}";
}

}  // namespace

void record_test_document(std::string_view bytes) {
    const char* dir = document_dir();
    if (dir == nullptr) return;
    const std::string path = std::string(dir) + "/" + content_name(bytes);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        std::abort();
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::perror(path.c_str());
        std::abort();
    }
}

void record_test_feed(const Feed& feed) {
    if (document_dir() != nullptr) record_test_document(feed_json(feed));
}

}  // namespace mt::testing
