// The message feed: its records, the strict JSON reader that maps a feed document onto them,
// and feed acceptance.
//
// `verify_feed` is the one operation a front end needs: it authenticates the exact bytes with
// the compiled-in key, then reads them and holds the feed and every message to the fixed rules,
// stopping at the first failure. The records are plain values that own all their data.
#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/error.h"

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

// The fixed limits of the feed and message rules.
inline constexpr std::uint32_t SUPPORTED_SCHEMA = 1;
inline constexpr std::uint64_t MIN_REVISION = 1;
inline constexpr std::size_t MAX_MESSAGES = 50;
inline constexpr std::size_t MAX_ID_BYTES = 64;
inline constexpr std::uint8_t MAX_PRIORITY = 2;
inline constexpr std::size_t MAX_TITLE_CHARS = 80;
inline constexpr std::size_t MAX_BODY_CHARS = 800;

// Reads a feed document (any bytes). On failure the text is "{message} at line {l} column {c}".
// `nesting_budget` exists so tests can reach the recursion limit; callers leave it alone.
Result<Feed> parse_feed(std::string_view document, unsigned nesting_budget = 128);

// A version "major.minor.patch" of three unsigned 64-bit decimal parts without leading zeros.
struct Version {
    std::uint64_t major = 0;
    std::uint64_t minor = 0;
    std::uint64_t patch = 0;
    friend auto operator<=>(const Version&, const Version&) = default;
};
std::optional<Version> parse_version(std::string_view text);

// The feed rules (schema, revision, count), then the message rules for every message in order.
Result<void> check_feed_rules(const Feed& feed);

// Parse and rules on bytes whose signature has already been verified. Fuzzers and benchmarks
// call it directly; the product always goes through verify_feed.
Result<Feed> accept_verified_document(std::string_view feed_bytes);

// Key, signature, parse, feed rules, message rules, in that order; the first failure's text.
Result<Feed> verify_feed(std::string_view feed_bytes, std::string_view signature_text);

}  // namespace mt
