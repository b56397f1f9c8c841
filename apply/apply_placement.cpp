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
  placement.markerStands = true;
  return support::Status::Done();
}

bool IsEmptyRange(const Placement& p) {
  return p.begin.object == p.end.object && p.begin.offset == p.end.offset;
}

support::Status Change(Placement& placement) {
  if (placement.misplaced) return MarkerOnly(placement);
  const PlacementKindRow& row = KindRow(placement.kind);
  if (row.markerRule.aloneOnEmptyRange && IsEmptyRange(placement)) return MarkerOnly(placement);
  switch (row.effect.applied) {
    case Applied::Nothing:
      return support::Status::Done();
    case Applied::Marker:
      return MarkerOnly(placement);
    case Applied::TrackedChange:
    case Applied::Condition:
      break;
  }
  return row.effect.apply(placement);
}

// Failures after which a marker can still go in: not one the host refused already, nor one
// the document cannot track, nor memory running out.
bool MarkerCanFollow(PlacementReason failure) {
  switch (failure) {
    case PlacementReason::MarkerRefused:
    case PlacementReason::NoTrackedChangeCondition:
    case PlacementReason::OutOfMemory:
    case PlacementReason::PageUnreadable:
      return false;
    default:
      return true;
  }
}

}  // namespace

support::Status ApplyPlacement(Placement& placement, const StruckRanges& struck) {
  const support::Status changed = Change(placement);
  if (changed.ok()) return changed;
  if (placement.failure == PlacementReason::InsideDeletedText) {
    const tolvane::TTextLoc at = placement.insertAt.object ? placement.insertAt : placement.end;
    if (const pdf::PdfComment* other = struck.Holding(at)) {
      // Both cannot stand: the other comment's change is in, this one is flagged beside it.
      placement.failure = PlacementReason::None;
      placement.meets = other;
      placement.Misplace(PlacementReason::SameSpot);
      return MarkerOnly(placement);
    }
  }
  if (MarkerCanFollow(placement.failure)) (void)MarkerOnly(placement);
  return changed;
}

}  // namespace osprevan::apply
