#include "pdf/content_groups.h"

#include <memory>
#include <utility>

#include "pdf/page_geometry.h"

namespace osprevan::pdf {
namespace {

ContentElement* GroupElement(DocumentContext& context, const MarkedContentOwner& owner,
                             bool walked) {
  ContentGroup& group = context.groups[owner.chain];
  if (group.last && group.lastStructElem == owner.structElem) {
    group.last->lastPage = context.pageIndex;
    return group.last;
  }
  auto made = std::make_unique<ContentElement>();
  ContentElement* element = made.get();
  element->containers = owner.chain;
  element->firstPage = element->lastPage = context.pageIndex;
  element->containerIndex = ++group.count;
  // A block's text lies inside the host paragraph that anchors it: an element that starts in a
  // block's span does not advance the count, so it and the element after it make one paragraph.
  element->containerCount = group.outsideBlocks;
  if (!owner.inBlockSpan) ++group.outsideBlocks;
  group.last = element;
  group.lastStructElem = owner.structElem;
  if (!walked) {
    context.unwalked.push_back(std::move(made));
    return element;
  }
  context.structElems.emplace(element, owner.structElem);
  element->box = EmptyElementBox(context.page);
  context.elementsByPage[context.pageIndex].push_back(element);
  context.elements.push_back(std::move(made));
  return element;
}

}  // namespace

ContentElement* ElementOf(DocumentContext& context, const MarkedContentOwner& owner) {
  NoteOwner(context.pageOwners, owner);
  return GroupElement(context, owner, true);
}

void CountUnwalkedPage(DocumentContext& context, const PageOwners& owners) {
  for (const MarkedContentOwner& owner : owners) (void)GroupElement(context, owner, false);
}

}  // namespace osprevan::pdf
