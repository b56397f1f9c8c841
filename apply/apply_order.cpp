#include "apply/apply_order.h"

#include <list>

#include "pdf/content_element.h"

namespace osprevan::apply {
namespace {

const pdf::ContentElement* StartElement(const Placement& p) {
  return p.comment && p.comment->hasRange() ? p.comment->range().start.element : nullptr;
}

const pdf::ContentElement* EndElement(const Placement& p) {
  return p.comment && p.comment->hasRange() ? p.comment->range().end.element : nullptr;
}

uint32_t EndContainerIndex(const Placement& p) {
  const pdf::ContentElement* element = EndElement(p);
  return element ? element->containerIndex : 0;
}

}  // namespace

bool GoesBefore(const Placement& a, const Placement& b) {
  if (a.flow != b.flow) return a.flow < b.flow;
  if (!NeedsMarker(a)) return true;
  if (!NeedsMarker(b)) return false;
  if (!StartElement(a) || !EndElement(a)) return true;
  if (EndContainerIndex(a) != EndContainerIndex(b))
    return EndContainerIndex(a) > EndContainerIndex(b);
  if (a.end.offset != b.end.offset) return a.end.offset > b.end.offset;
  return (a.kind == PlacementKind::Insertion || a.kind == PlacementKind::Replacement) &&
         !a.misplaced && a.comment && a.comment->replies().empty();
}

std::vector<Placement*> ApplicationOrder(std::vector<Placement>& placements) {
  std::list<Placement*> ordered;
  for (Placement& placement : placements) {
    auto at = ordered.begin();
    while (at != ordered.end() && !GoesBefore(placement, **at)) ++at;
    ordered.insert(at, &placement);
  }
  return {ordered.begin(), ordered.end()};
}

bool SameSpot(const Placement& placement, const Placement* previous) {
  return previous && NeedsMarker(placement) && NeedsMarker(*previous) &&
         placement.end.object == previous->end.object &&
         placement.end.offset == previous->end.offset;
}

}  // namespace osprevan::apply
