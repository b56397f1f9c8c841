#include "pdf/container_places.h"

#include <set>
#include <unordered_map>
#include <utility>

#include "pdf/element_classification.h"
#include "pdf/element_id.h"

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

  // `element` is the structure element the entry was made for.
  void Note(ElementEntry& entry, const OkStructElem* element);

 private:
  KidPlace PlaceAmongKids(const OkStructElem* element);
  int32_t PositionAmong(const OkStructElem* element, ElementKind kind);
  void NoteAnchor(ElementEntry& entry, const OkStructElem* element);

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
void PlaceReader::NoteAnchor(ElementEntry& entry, const OkStructElem* element) {
  const KidPlace place = PlaceAmongKids(element);
  const ondrelkit::PdfAtom ownType = tree_.Type(element);
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

void PlaceReader::Note(ElementEntry& entry, const OkStructElem* element) {
  switch (entry.kind) {
    case ElementKind::TableRow:
    case ElementKind::TableCell:
      entry.placeAmongKind = PositionAmong(element, entry.kind);
      break;
    case ElementKind::Table:
    case ElementKind::Footnote:
      if (document_) NoteAnchor(entry, element);
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
  // The chains hand their entries out read-only; the context owns them, by structure element.
  std::unordered_map<const ElementEntry*, std::pair<ElementEntry*, const OkStructElem*>> owned;
  for (const auto& [structElem, entry] : context.entries)
    owned.emplace(entry.get(), std::pair(entry.get(), structElem));
  PlaceReader reader(tree, document);
  std::set<const ElementEntry*> noted;
  for (ContentElement* element : elements) {
    element->identifier = tree.Identifier(context.StructElemOf(element));
    for (const ElementEntry* e = element->containers; e && noted.insert(e).second; e = e->outer) {
      const auto found = owned.find(e);
      if (found != owned.end()) reader.Note(*found->second.first, found->second.second);
    }
  }
}

}  // namespace osprevan::pdf
