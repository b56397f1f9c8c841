// The text the comments of one placing have struck, so that a comment whose place falls inside
// it can say which comment took its place.
#pragma once

#include <vector>

#include "apply/placement.h"
#include "pdf/pdf_comment.h"
#include "tolvane/values.h"

namespace osprevan::apply {

class StruckRanges {
 public:
  // Keeps the range of an applied deletion or replacement; other placements are passed over.
  void Note(const Placement& placement);

  // The comment whose struck range holds `location` strictly inside; null for none. The
  // placements are applied from the end of the text backwards, so a range kept is only moved by
  // text put in before it, and then no later location lies inside it.
  const pdf::PdfComment* Holding(const tolvane::TTextLoc& location) const;

 private:
  struct Struck {
    tolvane::TTextRange range;
    const pdf::PdfComment* comment;  // not owned
  };
  std::vector<Struck> struck_;
};

}  // namespace osprevan::apply
