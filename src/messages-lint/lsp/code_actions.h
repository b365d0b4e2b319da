// The code actions of a range of a document: one "quickfix" per fix of a problem whose span
// meets the range (a safe fix is the preferred one), and "source.fixAll.messages-lint", which
// applies every safe fix of the whole document (lint::fix_document) when that changes anything.
// Each action's edit names the document's version, so a client applies it only to the text it
// was made for (or, for a client without versioned edits, a plain change of the document).
#pragma once

#include <nlohmann/json.hpp>
#include <span>
#include <string>

#include "diagnostics.h"
#include "documents.h"
#include "lint/problems.h"
#include "position.h"

namespace mt::lsp {

inline constexpr std::string_view FIX_ALL_KIND = "source.fixAll.messages-lint";

struct ActionRequest {
    Span range;                     // the bytes the client asks about
    std::vector<std::string> only;  // the kinds asked for (prefixes, as the protocol has it); empty: all
    bool versioned_edits = true;    // the client takes documentChanges
};

nlohmann::json code_actions(const Document& document, const ActionRequest& request, PositionEncoding encoding,
                            const lint::CheckOptions& options);

}  // namespace mt::lsp
