#include "host/engine/document.h"

#include <algorithm>

namespace tlhost {

using namespace tolvane;

const std::vector<ObjectId>* Document::ParagraphList(ObjectId owner) const {
  if (const Flow* flow = Find(flows, owner)) return &flow->paragraphs;
  if (const TableCell* cell = Find(cells, owner)) return &cell->paragraphs;
  if (const Footnote* footnote = Find(footnotes, owner)) return &footnote->paragraphs;
  if (const Table* table = Find(tables, owner)) return &table->titleParagraphs;
  return nullptr;
}

std::vector<ObjectId>* Document::ParagraphList(ObjectId owner) {
  return const_cast<std::vector<ObjectId>*>(std::as_const(*this).ParagraphList(owner));
}

int Document::IndexInList(ObjectId paragraph) const {
  const Paragraph* p = Find(paragraphs, paragraph);
  if (!p) return -1;
  const std::vector<ObjectId>* list = ParagraphList(p->owner);
  if (!list) return -1;
  // Every location the host checks asks for this: the place found last time, while it holds,
  // spares a search of a list of thousands of paragraphs.
  const size_t hint = p->listIndexHint;
  if (hint < list->size() && (*list)[hint] == paragraph) return static_cast<int>(hint);
  auto found = std::find(list->begin(), list->end(), paragraph);
  if (found == list->end()) return -1;
  p->listIndexHint = static_cast<uint32_t>(found - list->begin());
  return static_cast<int>(p->listIndexHint);
}

// Looked up for every comment of an import, so the paragraphs are not searched each time. A
// unique number never changes and is never given again, so an entry found is right while its
// paragraph exists, and the index need be built again only for a number it lacks, and only
// when paragraphs were added or deleted since it was built.
ObjectId Document::ParagraphByUnique(int32_t unique) const {
  const auto lookUp = [&]() -> ObjectId {
    auto found = uniqueIndex_.find(unique);
    if (found == uniqueIndex_.end()) return 0;
    const Paragraph* p = Find(paragraphs, found->second);
    return p && p->unique == unique ? p->id : 0;
  };
  if (const ObjectId id = lookUp()) return id;
  const std::pair<size_t, int32_t> now{paragraphs.size(), nextUnique};
  if (uniqueIndexOf_ == now) return 0;
  uniqueIndex_.clear();
  for (const auto& [id, p] : paragraphs) uniqueIndex_.emplace(p.unique, id);
  uniqueIndexOf_ = now;
  return lookUp();
}

bool Document::AnchorLocation(ObjectId object, TTextLoc& out) const {
  ObjectId paragraph = 0;
  if (const Marker* m = Find(markers, object)) paragraph = m->paragraph;
  if (const Table* t = Find(tables, object)) paragraph = t->paragraph;
  if (const Footnote* f = Find(footnotes, object)) paragraph = f->paragraph;
  if (const AnchoredFrame* a = Find(anchoredFrames, object)) paragraph = a->paragraph;
  const Paragraph* p = Find(paragraphs, paragraph);
  const int32_t at = p ? p->FindItem(object, TI_ALL & ~TI_STRING) : -1;
  if (at < 0) return false;
  out = {paragraph, at};
  return true;
}

bool Document::ElementRange(ObjectId element, TTextRange& out) const {
  bool begun = false;
  bool ended = false;
  // An element has at most one begin and one end item.
  for (const auto& [id, p] : paragraphs) {
    if (const int32_t at = p.FindItem(element, TI_ELEMENT_BEGIN); at >= 0) {
      out.begin = {id, at};
      begun = true;
    }
    if (const int32_t at = p.FindItem(element, TI_ELEMENT_END); at >= 0) {
      out.end = {id, at + 1};
      ended = true;
    }
  }
  if (begun && !ended) out.end = out.begin;
  return begun;
}

const Condition* Document::FindCondition(const std::string& name) const {
  for (ObjectId id : conditionOrder) {
    if (conditions.at(id).name == name) return &conditions.at(id);
  }
  return nullptr;
}

bool Document::InAnchoredFrame(ObjectId flow) const {
  const Flow* f = Find(flows, flow);
  const TextFrame* frame = f ? Find(frames, f->firstFrame) : nullptr;
  return frame && KindOf(frame->parent) == KIND_ANCHORED_FRAME;
}

}  // namespace tlhost
