// One message as an editor shows it when the pointer rests on it: its id and priority, the
// lengths of its texts against the limits, its window as dates in UTC read from the Unix
// seconds the document writes, its action and its versions. Markdown, in Russian, made from the
// summary alone, so every front end shows the same words the core counted.
#pragma once

#include <string>

#include "lint/summary.h"

namespace mt::lint {

std::string message_markdown(const MessageSummary& message);

}  // namespace mt::lint
