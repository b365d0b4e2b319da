// One tolerant reading of a draft (lint/draft_reading.h tells how it follows a broken one), made
// once and shared by everything an editor or the page shows of the draft besides its problems:
// its outline, folds, selections, occurrences and hints (lint/outline.h, lint/inlay_hints.h) and
// what completion offers (lint/completion.h). The view keeps the document's text as given: the
// caller keeps the text alive, unchanged, for as long as the view.
#pragma once

#include <memory>
#include <string_view>

namespace mt::lint {

struct DraftValues;  // the reading's values: internal to the lint core

class DraftView {
  public:
    explicit DraftView(std::string_view document);
    ~DraftView();
    DraftView(DraftView&&) noexcept;
    DraftView& operator=(DraftView&&) noexcept;

    std::string_view document() const;
    const DraftValues& values() const { return *values_; }

  private:
    std::unique_ptr<const DraftValues> values_;
};

}  // namespace mt::lint
