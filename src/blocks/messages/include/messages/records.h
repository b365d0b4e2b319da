// The records of a feed document and every fixed limit the feed is held to. The records are
// plain values that own all their data.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mt {

// The allowed call-to-action kinds; no other kind can be read. CTA_KIND_NAMES holds their
// names in the same order, as a document writes them.
enum class CtaKind { open_updates, open_appearance, open_license };
inline constexpr std::array<std::string_view, 3> CTA_KIND_NAMES = {"open_updates", "open_appearance", "open_license"};

struct Cta {
    CtaKind kind = CtaKind::open_updates;
    friend bool operator==(const Cta&, const Cta&) = default;
};

struct Message {
    std::string id;
    std::uint8_t priority = 0;
    std::string title;
    std::string body;
    std::int64_t start_at = 0;
    std::int64_t end_at = 0;
    std::optional<Cta> cta;
    std::optional<std::string> minVersion;
    std::optional<std::string> maxVersion;
    friend bool operator==(const Message&, const Message&) = default;
};

struct Feed {
    std::uint32_t schema = 0;
    std::uint64_t revision = 0;
    std::vector<Message> messages;
    friend bool operator==(const Feed&, const Feed&) = default;
};

// The largest feed file that is read at all; a feed is read through a cap of one byte more.
inline constexpr std::size_t MAX_FEED_BYTES = 65536;

// The fixed limits of the feed and message rules.
inline constexpr std::uint32_t SUPPORTED_SCHEMA = 1;
inline constexpr std::uint64_t MIN_REVISION = 1;
inline constexpr std::size_t MAX_MESSAGES = 50;
inline constexpr std::size_t MAX_ID_BYTES = 64;
inline constexpr std::uint8_t MAX_PRIORITY = 2;
inline constexpr std::size_t MAX_TITLE_CHARS = 80;
inline constexpr std::size_t MAX_BODY_CHARS = 800;

// The refusal of a feed file of which `size` bytes (more than MAX_FEED_BYTES) were read:
// "{path} — {size} байт больше 64 КиБ, отклонено до парсинга", the path as given.
std::string feed_too_large_text(std::string_view path, std::size_t size);

}  // namespace mt
