#include "apply/apply_order.h"

#include <cstddef>
#include <cstdint>

#include "pdf/content_element.h"

namespace osprevan::apply {
namespace {

const pdf::ContentElement* StartElement(const Placement& p) {
  return p.comment && p.comment->hasRange() ? p.comment->range().start.element : nullptr;
}

const pdf::ContentElement* EndElement(const Placement& p) {
  return p.comment && p.comment->hasRange() ? p.comment->range().end.element : nullptr;
}

// What the order compares of a placement, read once: each placement is compared with those
// ordered before it, millions of times over a long document's thousands of comments.
struct OrderKey {
  tolvane::ObjectId flow = 0;
  bool marker = false;    // it needs a marker
  bool anchored = false;  // its range has both its elements
  uint32_t endContainer = 0;
  int32_t endOffset = 0;
  bool cleanInsertion = false;  // an insertion or replacement, placed, without replies
  bool endsRange = false;       // text marked up to its end: deleted, highlighted, underlined
};

bool EndsRange(const Placement& p) {
  return KindRow(p.kind).effect.marksToRangeEnd && !p.misplaced;
}

OrderKey KeyOf(const Placement& p) {
  OrderKey key;
  key.flow = p.flow;
  key.marker = NeedsMarker(p);
  key.anchored = StartElement(p) && EndElement(p);
  const pdf::ContentElement* end = EndElement(p);
  key.endContainer = end ? end->containerIndex : 0;
  key.endOffset = p.end.offset;
  key.cleanInsertion =
      KindRow(p.kind).effect.inserts && !p.misplaced && p.comment && p.comment->replies().empty();
  key.endsRange = EndsRange(p);
  return key;
}

bool KeyGoesBefore(const OrderKey& a, const OrderKey& b) {
  if (a.flow != b.flow) return a.flow < b.flow;
  if (!a.marker) return true;
  if (!b.marker) return false;
  if (!a.anchored) return true;
  if (a.endContainer != b.endContainer) return a.endContainer > b.endContainer;
  if (a.endOffset != b.endOffset) return a.endOffset > b.endOffset;
  // At one spot, text marked up to it comes first, so that new text put in there follows it
  // right away with the markup's marker after the new text; new text goes in before markers,
  // and the last on the page first, so that the texts stand in the page's order.
  if (a.endsRange && b.cleanInsertion) return true;
  if (a.cleanInsertion && b.endsRange) return false;
  return a.cleanInsertion;
}

}  // namespace

bool GoesBefore(const Placement& a, const Placement& b) {
  return KeyGoesBefore(KeyOf(a), KeyOf(b));
}

std::vector<Placement*> ApplicationOrder(std::vector<Placement>& placements) {
  std::vector<OrderKey> keys;
  keys.reserve(placements.size());
  for (const Placement& placement : placements) keys.push_back(KeyOf(placement));
  std::vector<size_t> ordered;
  ordered.reserve(placements.size());
  for (size_t i = 0; i < placements.size(); ++i) {
    auto at = ordered.begin();
    while (at != ordered.end() && !KeyGoesBefore(keys[i], keys[*at])) ++at;
    ordered.insert(at, i);
  }
  std::vector<Placement*> result;
  result.reserve(ordered.size());
  for (const size_t i : ordered) result.push_back(&placements[i]);
  return result;
}

}  // namespace osprevan::apply
