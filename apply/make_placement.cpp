#include "apply/make_placement.h"

#include "apply/locate_range.h"
#include "apply/marker_text.h"
#include "pdf/comment_dates.h"

namespace osprevan::apply {

PlacementKind KindOfComment(const pdf::PdfComment& comment) {
  const std::string subtype = pdf::SubtypeName(comment);
  if (subtype == "Underline" || subtype == "Squiggly") return PlaceUnderline;
  if (subtype == "Highlight")
    return comment.contents().empty() ? PlaceHighlight : PlaceHighlightNote;
  if (subtype == "Caret") return PlaceInsertion;
  if (subtype == "StrikeOut" || subtype == "Deletion")
    return comment.replacement() ? PlaceReplacement : PlaceDeletion;
  if (subtype == "Text" || subtype == "FreeText") return PlaceNote;
  return PlaceOther;
}

Placement MakePlacement(tolvane::ObjectId document, const pdf::PdfComment& comment) {
  Placement placement;
  placement.comment = &comment;
  placement.kind = KindOfComment(comment);
  // A free text sits where the reviewer put its box; it covers no text to confirm it.
  if (pdf::SubtypeName(comment) != "FreeText" && comment.placementConfirmed() == 0)
    placement.Misplace(comment.approximate() ? PlacementReason::Unconfirmed
                                             : PlacementReason::NoElement);
  placement.document = document;
  placement.dateText = pdf::SortableDateText(comment.date());
  placement.pageIndex = comment.page();
  const pdf::ContentElement* start = comment.hasRange() ? comment.range().start.element : nullptr;
  if (start) placement.flow = FindFlowForElement(document, start->SectionName());
  LocateDoubts doubts;
  if (LocateRange(document, placement.flow, comment.range(), placement.begin, placement.end,
                  doubts) != 0) {
    placement.documentDiffers = doubts.documentDiffers;
    // A note's place needs no confirming text; what makes it doubtful is a document that
    // differs there, so that is the reason it gives.
    if (placement.kind == PlaceNote && doubts.documentDiffers != PlacementReason::None)
      placement.reason = doubts.documentDiffers;
    placement.Misplace(doubts.first);
  }
  return placement;
}

}  // namespace osprevan::apply
