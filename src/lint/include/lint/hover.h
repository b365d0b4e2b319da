// One message as an editor shows it when the pointer rests on it: its id and priority, the
// lengths of its texts against the limits, its window as dates in UTC read from the Unix
// seconds the document writes, its action and its versions. In Russian, made from the summary
// alone, so every front end shows the same words the core counted; as Markdown, with the
// document's own values in code spans (nothing in them is read as markup, so nothing is
// escaped), or as plain text for an editor that shows no Markdown.
#pragma once

#include <string>

#include "lint/message_summary.h"

namespace mt::lint {

enum class HoverFormat { markdown, plain_text };

std::string message_hover(const MessageSummary& message, HoverFormat format);

}  // namespace mt::lint
