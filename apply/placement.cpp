#include "apply/placement.h"

namespace osprevan::apply {

const char* ReasonName(PlacementReason reason) {
  switch (reason) {
    case PlacementReason::None:
      return "";
    case PlacementReason::Unconfirmed:
      return "unconfirmed by the PDF text";
    case PlacementReason::NoElement:
      return "no structure element";
    case PlacementReason::ContainerNotFound:
      return "container not found";
    case PlacementReason::FoundByCounting:
      return "paragraph found by counting";
    case PlacementReason::InsideParagraphNumber:
      return "starts inside the paragraph number";
    case PlacementReason::BeyondParagraphText:
      return "offset beyond the paragraph text";
    case PlacementReason::TextChanged:
      return "text changed since the PDF was made";
    case PlacementReason::InsideBlock:
      return "inside a block";
    case PlacementReason::BeyondParagraphEnd:
      return "end beyond the paragraph end";
    case PlacementReason::NotInParagraph:
      return "location not in a paragraph";
    case PlacementReason::TableMismatch:
      return "ends in different table rows or tables";
    case PlacementReason::SelectionMoved:
      return "the host moved the selection";
    case PlacementReason::EndsInDifferentFlows:
      return "ends refused by the host";
    case PlacementReason::PieceRefused:
      return "a piece of the range refused by the host";
    case PlacementReason::SameSpot:
      return "same spot as the placement before";
    case PlacementReason::InsideDeletedText:
      return "insertion point inside deleted text";
    case PlacementReason::NoTrackedChangeCondition:
      return "no tracked-change condition";
    case PlacementReason::MarkerRefused:
      return "the host refused the marker";
    case PlacementReason::ConditionRefused:
      return "the condition could not be made, found or set";
    case PlacementReason::TextRefused:
      return "the host refused the inserted text";
    case PlacementReason::PageUnreadable:
      return "page could not be read";
    case PlacementReason::PlaceInDeletedText:
      return "marker moved out of deleted text";
  }
  return "";
}

const char* PlacementKindName(uint32_t kind) {
  switch (kind) {
    case PlaceHighlight:
      return "highlight";
    case PlaceUnderline:
      return "underline";
    case PlaceDeletion:
      return "deletion";
    case PlaceNote:
      return "note";
    case PlaceHighlightNote:
      return "highlight note";
    case PlaceReplacement:
      return "replacement";
    case PlaceInsertion:
      return "insertion";
    default:
      return "other";
  }
}

bool CountsAsMisplaced(const Placement& placement) {
  if (!placement.misplaced) return false;
  return placement.kind != PlaceNote || placement.documentDiffers != PlacementReason::None;
}

bool NeedsMarker(const Placement& placement) {
  if (placement.kind >= 4 || placement.misplaced) return true;
  const pdf::PdfComment* comment = placement.comment;
  return comment && (!comment->replies().empty() || !comment->contents().empty());
}

}  // namespace osprevan::apply
