#include "apply/apply_placement.h"

#include "apply/place_marker.h"

namespace osprevan::apply {
namespace {

// A marker whose place is deleted text stands beside that text instead, flagged as misplaced,
// so that the comment is not lost.
support::Status MarkerOnly(Placement& placement) {
  tolvane::TTextLoc place;
  if (!PlaceOutsideDeletedText(placement, placement.end, place))
    return placement.Fail(PlacementReason::MarkerRefused);
  if (place.offset != placement.end.offset) {
    placement.Misplace(PlacementReason::PlaceInDeletedText);
    placement.begin = placement.end = place;
  }
  if (!PlaceMarker(placement, place).ok()) return placement.Fail(PlacementReason::MarkerRefused);
  return support::Status::Done();
}

bool IsEmptyRange(const Placement& p) {
  return p.begin.object == p.end.object && p.begin.offset == p.end.offset;
}

}  // namespace

support::Status ApplyPlacement(Placement& placement, bool sameSpot) {
  if (placement.misplaced || sameSpot) {
    return MarkerOnly(placement);
  }
  const PlacementKindRow& row = KindRow(placement.kind);
  if (row.marksRange && IsEmptyRange(placement)) return MarkerOnly(placement);
  switch (row.applied) {
    case Applied::Nothing:
      return support::Status::Done();
    case Applied::Marker:
      return MarkerOnly(placement);
    case Applied::TrackedChange:
    case Applied::Condition:
      break;
  }
  return row.apply(placement);
}

}  // namespace osprevan::apply
