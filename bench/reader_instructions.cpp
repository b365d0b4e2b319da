// Runs the reader, or the reader and the rules, N times over the largest realistic feed, for
// counting instructions under callgrind (scripts/icount): a count is the same from run to run
// whatever else the machine is doing, where a time is not. The cost of one call is the count of
// N calls less that of none, divided by N.
//   reader_instructions N [parse]
#include <cstdlib>
#include <string>

#include "messages/messages.h"
#include "support/sample_feeds.h"

int main(int argc, char** argv) {
    const std::string document = mt::testing::largest_realistic_feed();
    const int calls = argc > 1 ? std::atoi(argv[1]) : 20;
    const bool parse_only = argc > 2 && std::string(argv[2]) == "parse";
    for (int i = 0; i < calls; ++i) {
        const bool accepted = parse_only ? mt::parse_feed(document).has_value()
                                         : mt::accept_unauthenticated_document(document).has_value();
        if (!accepted) return 1;
    }
    return 0;
}
