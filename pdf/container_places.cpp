#include "pdf/container_places.h"

#include <set>
#include <unordered_map>

#include "pdf/element_id.h"
#include "pdf/element_kind.h"

namespace osprevan::pdf {
namespace {

using tolvane::ObjectId;

// An element's parent and its place among the parent's kids.
struct KidPlace {
  const OkStructElem* parent = nullptr;
  int32_t index = -1;  // -1: not among its parent's kids (a damaged tree), or no parent
};

class PlaceReader {
 public:
  PlaceReader(const StructureTree& tree, ObjectId document) : tree_(tree), document_(document) {}

  void Note(ElementEntry& entry);

 private:
  KidPlace PlaceAmongKids(const OkStructElem* element);
  int32_t PositionAmong(const OkStructElem* element, ElementKind kind);
  void NoteAnchor(ElementEntry& entry);

  const StructureTree& tree_;
  const ObjectId document_;
  // Tables and footnotes may all be kids of one section with thousands of kids: one pass over a
  // parent's kids notes every kid's place, for all the entries of one reading.
  std::unordered_map<const OkStructElem*, std::unordered_map<const OkStructElem*, int32_t>>
      kidsByParent_;
};

KidPlace PlaceReader::PlaceAmongKids(const OkStructElem* element) {
  KidPlace place;
  place.parent = tree_.Parent(element);
  if (!place.parent) return place;
  auto [kids, firstLook] = kidsByParent_.try_emplace(place.parent);
  if (firstLook) {
    const int32_t count = tree_.KidCount(place.parent);
    for (int32_t i = 0; i < count; ++i) {
      if (const OkStructElem* kid = tree_.Kid(place.parent, i)) kids->second.emplace(kid, i);
    }
  }
  const auto found = kids->second.find(element);
  if (found != kids->second.end()) place.index = found->second;
  return place;
}

// How many kids before `element` have the given kind.
int32_t PlaceReader::PositionAmong(const OkStructElem* element, ElementKind kind) {
  const KidPlace place = PlaceAmongKids(element);
  int32_t position = 0;
  for (int32_t i = 0; i < place.index; ++i) {
    const OkStructElem* kid = tree_.Kid(place.parent, i);
    if (kid) position += ClassifyElement(tree_.Type(kid), tree_.Type(kid), kid) == kind;
  }
  return position;
}

// A table or footnote follows the paragraph that anchors it: the nearest kid before it that
// names a host paragraph. Placing takes, among that paragraph's anchors of the kind, the one
// after as many of its kind as stand between them.
void PlaceReader::NoteAnchor(ElementEntry& entry) {
  const KidPlace place = PlaceAmongKids(entry.element);
  const ondrelkit::PdfAtom ownType = tree_.Type(entry.element);
  int32_t between = 0;
  for (int32_t i = place.index - 1; i >= 0; --i) {
    const OkStructElem* kid = tree_.Kid(place.parent, i);
    if (!kid) continue;
    const ObjectId paragraph = ResolveElementId(document_, tree_.Identifier(kid));
    if (!paragraph) {
      if (tree_.Type(kid) == ownType) ++between;
      continue;
    }
    entry.anchorParagraph = paragraph;
    entry.anchorsBetween = between;
    return;
  }
}

void PlaceReader::Note(ElementEntry& entry) {
  switch (entry.kind) {
    case ElementKind::TableRow:
    case ElementKind::TableCell:
      entry.placeAmongKind = PositionAmong(entry.element, entry.kind);
      break;
    case ElementKind::Table:
    case ElementKind::Footnote:
      if (document_) NoteAnchor(entry);
      break;
    default:
      break;
  }
}

}  // namespace

void NoteContainerPlaces(DocumentContext& context, const StructureTree& tree, ObjectId document) {
  std::set<ContentElement*> elements;
  for (const auto& [page, comments] : context.commentsByPage) {
    for (const auto& comment : comments) {
      if (!comment->hasRange()) continue;
      elements.insert(comment->range().start.element);
      elements.insert(comment->range().end.element);
    }
  }
  elements.erase(nullptr);
  PlaceReader reader(tree, document);
  std::set<const ElementEntry*> noted;
  for (ContentElement* element : elements) {
    element->identifier = tree.Identifier(element->structElem);
    for (const ElementEntry* e = element->containers; e && noted.insert(e).second; e = e->outer) {
      // The chain hands its entries out read-only; the context owns them.
      const auto owned = context.entries.find(e->element);
      if (owned != context.entries.end() && owned->second.get() == e) reader.Note(*owned->second);
    }
  }
}

}  // namespace osprevan::pdf
