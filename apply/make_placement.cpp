#include "apply/make_placement.h"

#include "apply/locate_range.h"
#include "apply/marker_text.h"

namespace osprevan::apply {

PlacementKind KindOfComment(const pdf::PdfComment& comment) {
  const pdf::CommentSubtype* subtype = comment.subtype();
  if (!subtype) return PlacementKind::Other;
  // The strike-out of a replace is one when the reader gave it its Caret; else it is struck only.
  const pdf::CommentKind read =
      subtype->kind == pdf::Delete && comment.replacement() ? pdf::Replace : subtype->kind;
  const PlacementKind kind = KindRead(read);
  const PlacementKind withContents = KindRow(kind).withContents;
  if (withContents != PlacementKind::Other && !comment.contents().empty()) return withContents;
  return kind;
}

Placement MakePlacement(tolvane::ObjectId document, const pdf::PdfComment& comment) {
  Placement placement;
  placement.comment = &comment;
  placement.kind = KindOfComment(comment);
  // A free text sits where the reviewer put its box; it covers no text to confirm it.
  const pdf::CommentSubtype* subtype = comment.subtype();
  if ((!subtype || subtype->coversText) && comment.placementConfirmed() == 0)
    placement.Misplace(comment.approximate() ? PlacementReason::Unconfirmed
                                             : PlacementReason::NoElement);
  if (!comment.otherPlace().empty()) placement.Misplace(PlacementReason::TwoPlaces);
  placement.document = document;
  placement.dateText = comment.dateText();
  placement.pageIndex = comment.page();
  const pdf::ContentElement* start = comment.hasRange() ? comment.range().start.element : nullptr;
  if (start) placement.flow = FindFlowForElement(document, start->SectionName());
  LocateDoubts doubts;
  if (!LocateRange(document, placement.flow, comment.range(), placement.begin, placement.end,
                   doubts)
           .ok()) {
    placement.documentDiffers = doubts.documentDiffers;
    // A note's place needs no confirming text; what makes it doubtful is a document that
    // differs there, so that is the reason it gives.
    if (KindRow(placement.kind).placedWherePointed &&
        doubts.documentDiffers != PlacementReason::None)
      placement.reason = doubts.documentDiffers;
    placement.Misplace(doubts.first);
  }
  return placement;
}

}  // namespace osprevan::apply
