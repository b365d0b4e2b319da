#include "local_zone.h"

#include <array>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <unistd.h>

namespace mt::lint {
namespace {

// The offset from UTC of the wall-clock time `local` in the C library's zone. A time the clocks
// skip or pass twice is read as the library's mktime reads it.
std::int32_t library_offset(std::int64_t local, const void*) {
    const std::time_t as_utc = static_cast<std::time_t>(local);
    std::tm fields{};
    if (!gmtime_r(&as_utc, &fields)) return 0;
    fields.tm_isdst = -1;
    const std::time_t utc = std::mktime(&fields);
    if (utc == static_cast<std::time_t>(-1) && local != -1) return 0;
    return static_cast<std::int32_t>(local - static_cast<std::int64_t>(utc));
}

// The offset from UTC at the instant `utc` in the C library's zone.
std::int32_t library_offset_of(std::int64_t utc, const void*) {
    const std::time_t instant = static_cast<std::time_t>(utc);
    std::tm fields{};
    if (!localtime_r(&instant, &fields)) return 0;
    return static_cast<std::int32_t>(fields.tm_gmtoff);
}

bool names_utc(std::string_view name) {
    constexpr std::array<std::string_view, 12> UTC_NAMES = {"UTC",     "UTC0", "Etc/UTC",   "UCT",
                                                            "Etc/UCT", "Zulu", "Etc/Zulu",  "GMT",
                                                            "Etc/GMT", "GMT0", "Universal", "Etc/Universal"};
    for (const std::string_view utc : UTC_NAMES)
        if (name == utc) return true;
    return false;
}

// The zone's name from a path into the zone database: "/usr/share/zoneinfo/Europe/Moscow".
std::string name_in_database(std::string_view path) {
    constexpr std::string_view DATABASE = "zoneinfo/";
    const std::size_t at = path.rfind(DATABASE);
    return at == std::string_view::npos ? "" : std::string(path.substr(at + DATABASE.size()));
}

// Whether the C library reads TZ's `name` as the zone it names: a rule written out ("MSK-3",
// "<+03>-3") always, a name only when the zone database has it; any other name it reads as UTC,
// which the suggestions must then name.
bool library_knows(std::string_view name) {
    if (name.find_first_of("0123456789<,") != std::string_view::npos) return true;
    const char* folder = std::getenv("TZDIR");
    const std::string path = std::string(folder && *folder ? folder : "/usr/share/zoneinfo") + "/" + std::string(name);
    return ::access(path.c_str(), R_OK) == 0;
}

std::string zone_name() {
    if (const char* tz = std::getenv("TZ"); tz && *tz) {
        std::string_view name = tz;
        if (name.front() == ':') name.remove_prefix(1);
        if (name.starts_with('/')) return ::access(std::string(name).c_str(), R_OK) == 0 ? name_in_database(name) : "UTC";
        return library_knows(name) ? std::string(name) : "UTC";
    }
    std::array<char, 256> link{};
    const ssize_t length = ::readlink("/etc/localtime", link.data(), link.size() - 1);
    if (length > 0) return name_in_database(std::string_view(link.data(), static_cast<std::size_t>(length)));
    return "";
}

}  // namespace

AuthorZone LocalZone::author_zone() const {
    if (utc) return {};
    return {.name = name, .offset_at = &library_offset, .data = nullptr, .offset_of = &library_offset_of};
}

// The C library reads its zone data at its first call that needs it (mktime, localtime_r), so a
// run that reads no date without a zone reads none.
LocalZone local_zone() {
    LocalZone zone;
    zone.name = zone_name();
    if (zone.name.empty()) {
        const std::time_t now = std::time(nullptr);
        std::tm fields{};
        if (localtime_r(&now, &fields) && fields.tm_zone) zone.name = fields.tm_zone;
    }
    zone.utc = zone.name.empty() || names_utc(zone.name);
    if (zone.utc) zone.name = "UTC";
    return zone;
}

}  // namespace mt::lint
