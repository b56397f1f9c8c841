#include "apply/apply_placement.h"

#include "apply/place_marker.h"
#include "apply/text_conditions.h"
#include "apply/tracked_changes.h"

namespace osprevan::apply {
namespace {

// A marker whose place is deleted text stands beside that text instead, flagged as misplaced,
// so that the comment is not lost.
int32_t MarkerOnly(Placement& placement) {
  tolvane::TTextLoc place;
  if (!PlaceOutsideDeletedText(placement, placement.end, place)) {
    placement.NoteFailure(PlacementReason::MarkerRefused);
    return 1;
  }
  if (place.offset != placement.end.offset) {
    placement.Misplace(PlacementReason::PlaceInDeletedText);
    placement.begin = placement.end = place;
  }
  const int32_t result = PlaceMarker(placement, place);
  if (result != 0) placement.NoteFailure(PlacementReason::MarkerRefused);
  return result;
}

bool IsEmptyRange(const Placement& p) {
  return p.begin.object == p.end.object && p.begin.offset == p.end.offset;
}

}  // namespace

int32_t ApplyPlacement(Placement& placement, bool sameSpot) {
  if (placement.misplaced || sameSpot) {
    return MarkerOnly(placement);
  }
  if (placement.kind != PlaceNote && placement.kind != PlaceInsertion && IsEmptyRange(placement))
    return MarkerOnly(placement);
  switch (placement.kind) {
    case PlaceHighlight:
    case PlaceHighlightNote:
      return ApplyHighlight(placement);
    case PlaceUnderline:
      return ApplyUnderline(placement);
    case PlaceDeletion:
      return ApplyDeletion(placement);
    case PlaceReplacement:
      return ApplyReplacement(placement);
    case PlaceInsertion:
      return ApplyInsertion(placement);
    case PlaceNote:
      return MarkerOnly(placement);
    default:
      return 0;
  }
}

}  // namespace osprevan::apply
