// The author's time zone on the command line and in the editors' server: the C library's local
// time (TZ when it is set, else the system's), named as the author knows it.
#pragma once

#include <string>

#include "lint/author_zone.h"

namespace mt::lint {

struct LocalZone {
    // "Europe/Moscow" (TZ or the zone /etc/localtime names), else the zone's abbreviation; "UTC"
    // for UTC under any of its names.
    std::string name;
    bool utc = true;

    // The zone as the lint core takes it; valid while this value lives.
    AuthorZone author_zone() const;
};

LocalZone local_zone();

}  // namespace mt::lint
