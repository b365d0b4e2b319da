// The message feed: its records and limits, the strict reader, the feed and message rules, and
// acceptance of bytes nobody has authenticated. Authentication and reading are joined only by
// verify_feed (its own block), so a program that checks drafts links no key.
#pragma once

#include "messages/acceptance.h"
#include "messages/read_error.h"
#include "messages/reading.h"
#include "messages/records.h"
#include "messages/rules.h"
