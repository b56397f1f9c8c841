#include "apply/struck_ranges.h"

namespace osprevan::apply {

void StruckRanges::Note(const Placement& placement) {
  if (!KindRow(placement.kind).effect.strikes || placement.misplaced) return;
  struck_.push_back({{placement.begin, placement.end}, placement.comment});
}

const pdf::PdfComment* StruckRanges::Holding(const tolvane::TTextLoc& location) const {
  for (const Struck& s : struck_) {
    const tolvane::TTextRange& r = s.range;
    const bool afterBegin = location.object != r.begin.object || location.offset > r.begin.offset;
    const bool beforeEnd = location.object != r.end.object || location.offset < r.end.offset;
    const bool inEndParagraph =
        location.object == r.begin.object || location.object == r.end.object;
    if (inEndParagraph && afterBegin && beforeEnd) return s.comment;
  }
  return nullptr;
}

}  // namespace osprevan::apply
