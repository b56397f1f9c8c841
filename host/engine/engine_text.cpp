// Text operations: reading text items, adding text, per-character properties, markers,
// selections and location tests.

#include <algorithm>

#include "host/engine/engine.h"
#include "host/engine/utf8.h"

namespace tlhost {

using namespace tolvane;

namespace {

bool ValidLocation(const Document& d, TTextLoc at) {
  const Paragraph* p = Document::Find(d.paragraphs, at.object);
  return p && at.offset >= 0 && at.offset <= p->length() && d.IndexInList(at.object) >= 0;
}

bool Hidden(const Document& d, PropsId props) {
  for (ObjectId c : d.charProps[props].conditions) {
    const Condition* condition = Document::Find(d.conditions, c);
    if (condition && !condition->shown) return true;
  }
  return false;
}

// Items of positions [from, to) of one paragraph; strings are split where the per-character
// properties change.
void AppendItems(const Document& d, const Paragraph& p, int32_t from, int32_t to, uint32_t flags,
                 uint32_t options, std::vector<TextItem>& out) {
  if (flags & TI_TEXT_OBJECT) out.push_back({from, TI_TEXT_OBJECT, "", p.id});
  const bool withHidden = options & TIO_INCLUDE_HIDDEN_TEXT;
  int32_t i = from;
  while (i < to) {
    if (!p.isCharacter(i)) {
      const Paragraph::Item item = p.item(i);
      if (flags & item.kind) out.push_back({i, item.kind, "", item.id});
      ++i;
      continue;
    }
    const int32_t j = p.CharactersEnd(i, to);
    if ((flags & TI_STRING) && (withHidden || !Hidden(d, p.props(i)))) {
      std::string text;
      p.AppendText(i, j, text);
      out.push_back({i, TI_STRING, std::move(text), 0});
    }
    i = j;
  }
}

// `props` with checked values set, in their order; conditions named twice count once.
CharProps Changed(CharProps props, const std::vector<PropValue>& values) {
  for (const PropValue& value : values) {
    const Value& v = value.value;
    if (value.property == P_TEXT_CONDITIONS) {
      props.conditions.clear();
      for (ObjectId c : v.ids) {
        if (std::find(props.conditions.begin(), props.conditions.end(), c) ==
            props.conditions.end()) {
          props.conditions.push_back(c);
        }
      }
    } else if (value.property == P_TEXT_CHANGE_AUTHOR) {
      props.author = v.s;
    } else {
      props.time = v.type == VT_INT ? v.i : v.l;
    }
  }
  return props;
}

// The paragraphs from `begin` to `end` of one list; false when they are not in one list or
// `end` lies before `begin`.
bool Span(const Document& d, TTextRange r, std::vector<ObjectId>& paragraphs) {
  const Paragraph& first = d.paragraphs.at(r.begin.object);
  const Paragraph& last = d.paragraphs.at(r.end.object);
  if (first.owner != last.owner) return false;
  const std::vector<ObjectId>& list = *d.ParagraphList(first.owner);
  const int a = d.IndexInList(first.id);
  const int b = d.IndexInList(last.id);
  if (b < a || (a == b && r.end.offset < r.begin.offset)) return false;
  paragraphs.assign(list.begin() + a, list.begin() + b + 1);
  return true;
}

// The innermost element open at a location: walking back from it, the nearest element
// beginning whose end was not passed on the way. The same answer as walking forward from the
// list's start (also where an end closes nothing), but a location inside a paragraph's element
// costs that paragraph, not the whole list before it, which made placing thousands of comments
// quadratic.
ObjectId ElementAt(const Document& d, TTextLoc at) {
  const Paragraph& p = d.paragraphs.at(at.object);
  // Outside every element of a structured flow, the location belongs to the flow's root.
  const Flow* flow = Document::Find(d.flows, p.owner);
  const ObjectId root = flow ? flow->highestElement : 0;
  if (d.structure.elements.empty()) return root;  // no element to be inside of
  const std::vector<ObjectId>& list = *d.ParagraphList(p.owner);
  int32_t unmatchedEnds = 0;
  for (int index = d.IndexInList(at.object); index >= 0; --index) {
    const Paragraph& q = d.paragraphs.at(list[static_cast<size_t>(index)]);
    for (int32_t i = q.id == at.object ? at.offset : q.length(); i-- > 0;) {
      if (q.isCharacter(i)) continue;
      const Paragraph::Item item = q.item(i);
      if (item.kind == TI_ELEMENT_END) ++unmatchedEnds;
      if (item.kind != TI_ELEMENT_BEGIN) continue;
      if (unmatchedEnds == 0) return item.id;
      --unmatchedEnds;
    }
  }
  return root;
}

}  // namespace

Document* Engine::TextDocument(ObjectId doc) {
  return FindDocument(doc);
}

int32_t Engine::GetText(ObjectId doc, ObjectId obj, uint32_t flags, uint32_t options,
                        std::vector<TextItem>& out) {
  out.clear();
  Document* d = TextDocument(doc);
  if (!d) return ERR_BAD_DOCUMENT;
  if (const Paragraph* p = Document::Find(d->paragraphs, obj)) {
    AppendItems(*d, *p, 0, p->length(), flags, options, out);
    return ERR_NONE;
  }
  if (const StructureElement* e = Document::Find(d->structure.elements, obj)) {
    TTextRange range;
    if (!d->ElementRange(e->id, range)) return ERR_NONE;
    return GetTextInRange(doc, range, flags, options, out);
  }
  const std::vector<ObjectId>* list = d->ParagraphList(obj);
  if (!list) return ERR_BAD_OBJECT;
  for (ObjectId id : *list) {
    const Paragraph& p = d->paragraphs.at(id);
    AppendItems(*d, p, 0, p.length(), flags, options, out);
  }
  return ERR_NONE;
}

int32_t Engine::GetTextInRange(ObjectId doc, TTextRange r, uint32_t flags, uint32_t options,
                               std::vector<TextItem>& out) {
  out.clear();
  Document* d = TextDocument(doc);
  if (!d) return ERR_BAD_DOCUMENT;
  if (!ValidLocation(*d, r.begin) || !ValidLocation(*d, r.end)) return ERR_BAD_LOCATION;
  std::vector<ObjectId> span;
  if (!Span(*d, r, span)) return ERR_BAD_LOCATION;
  for (ObjectId id : span) {
    const Paragraph& p = d->paragraphs.at(id);
    const int32_t from = id == r.begin.object ? r.begin.offset : 0;
    const int32_t to = id == r.end.object ? r.end.offset : p.length();
    AppendItems(*d, p, from, to, flags, options, out);
  }
  return ERR_NONE;
}

int32_t Engine::AddText(ObjectId doc, TTextLoc at, const std::string& utf8, TTextLoc& after) {
  after = at;
  Document* d = TextDocument(doc);
  if (!d) return ERR_BAD_DOCUMENT;
  if (!ValidLocation(*d, at)) return ERR_BAD_LOCATION;
  if (d->readOnly) return ERR_READ_ONLY;
  std::u32string characters;
  if (!utf8::Decode(utf8, characters) ||
      std::any_of(characters.begin(), characters.end(), utf8::IsForbiddenControl)) {
    return ERR_BAD_VALUE;
  }
  Paragraph& p = d->paragraphs.at(at.object);
  // Text goes before the paragraph end, also when the location lies after it.
  const int32_t offset = std::min(at.offset, p.length() - 1);
  p.InsertCharacters(offset, characters);
  const auto added = static_cast<int32_t>(characters.size());
  if (d->hasSelection) {
    for (TTextLoc* loc : {&d->selection.begin, &d->selection.end}) {
      if (loc->object == at.object && loc->offset > offset) loc->offset += added;
    }
  }
  if (added) d->modified = true;
  after = {at.object, offset + added};
  return ERR_NONE;
}

int32_t Engine::GetTextProp(ObjectId doc, TTextLoc at, int32_t prop, Value& out) {
  Document* d = TextDocument(doc);
  if (!d) return ERR_BAD_DOCUMENT;
  if (!ValidLocation(*d, at)) return ERR_BAD_LOCATION;
  const Paragraph& p = d->paragraphs.at(at.object);
  // A location reports the character before it; offset 0 reports the first one.
  const CharProps& props = d->charProps[p.props(std::clamp(at.offset - 1, 0, p.length() - 1))];
  switch (prop) {
    case P_TEXT_CONDITIONS:
      out = Value::Ids(props.conditions);
      break;
    case P_TEXT_CHANGE_AUTHOR:
      out = Value::String(props.author);
      break;
    case P_TEXT_CHANGE_TIME:
      out = Value::Int(static_cast<int32_t>(std::clamp<int64_t>(props.time, INT32_MIN, INT32_MAX)));
      break;
    default:
      return ERR_BAD_PROPERTY;
  }
  return ERR_NONE;
}

int32_t Engine::SetTextProps(ObjectId doc, TTextRange r, const std::vector<PropValue>& props) {
  Document* d = TextDocument(doc);
  if (!d) return ERR_BAD_DOCUMENT;
  if (!ValidLocation(*d, r.begin) || !ValidLocation(*d, r.end)) return ERR_BAD_LOCATION;
  std::vector<ObjectId> span;
  if (!Span(*d, r, span)) return ERR_BAD_LOCATION;
  // Every value is checked before anything changes.
  for (const PropValue& p : props) {
    const Value& v = p.value;
    switch (p.property) {
      case P_TEXT_CONDITIONS:
        if (v.type != VT_IDS) return ERR_BAD_TYPE;
        for (ObjectId c : v.ids) {
          if (!d->conditions.count(c)) return ERR_BAD_VALUE;
        }
        break;
      case P_TEXT_CHANGE_AUTHOR: {
        if (v.type != VT_STRING) return ERR_BAD_TYPE;
        std::u32string characters;
        if (!utf8::Decode(v.s, characters)) return ERR_BAD_VALUE;
        break;
      }
      case P_TEXT_CHANGE_TIME:
        if (v.type != VT_INT && v.type != VT_LONG_INT) return ERR_BAD_TYPE;
        break;
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (d->readOnly) return ERR_READ_ONLY;
  const auto change = [&](PropsId old) {
    return d->charProps.Intern(Changed(d->charProps[old], props));
  };
  for (ObjectId id : span) {
    Paragraph& p = d->paragraphs.at(id);
    const int32_t from = id == r.begin.object ? r.begin.offset : 0;
    const int32_t to = id == r.end.object ? r.end.offset : p.length();
    if (from >= to) continue;
    p.ChangeProps(from, to, change);
    d->modified = true;
  }
  return ERR_NONE;
}

int32_t Engine::ObjectAtTextLoc(ObjectId doc, TTextLoc at, ObjectId& element,
                                ObjectId& textObject) {
  element = textObject = 0;
  Document* d = TextDocument(doc);
  if (!d) return ERR_BAD_DOCUMENT;
  if (!ValidLocation(*d, at)) return ERR_BAD_LOCATION;
  element = ElementAt(*d, at);
  textObject = at.object;
  return ERR_NONE;
}

int32_t Engine::TestTextLocs(ObjectId doc, TTextLoc a, TTextLoc b, int32_t& out) {
  out = 0;
  Document* d = TextDocument(doc);
  if (!d) return ERR_BAD_DOCUMENT;
  if (!ValidLocation(*d, a) || !ValidLocation(*d, b)) return ERR_BAD_LOCATION;
  // A selection lies within one paragraph list: one flow, one table cell, one footnote or
  // one table title.
  out = d->paragraphs.at(a.object).owner == d->paragraphs.at(b.object).owner ? 0 : 1;
  return ERR_NONE;
}

int32_t Engine::SetSelection(Document& d, TTextRange r) {
  if (!ValidLocation(d, r.begin) || !ValidLocation(d, r.end)) return ERR_BAD_LOCATION;
  const Paragraph& first = d.paragraphs.at(r.begin.object);
  const Paragraph& last = d.paragraphs.at(r.end.object);
  if (first.owner != last.owner) {
    r.begin = r.end;  // across lists: the insertion point at the end
  } else {
    std::vector<ObjectId> span;
    if (!Span(d, r, span)) std::swap(r.begin, r.end);
    // In a structured flow a selection covers text of one element only.
    const bool empty = r.begin.object == r.end.object && r.begin.offset == r.end.offset;
    if (!empty && ElementAt(d, r.begin) != ElementAt(d, r.end)) r.begin = r.end;
  }
  d.selection = r;
  d.hasSelection = true;
  return ERR_NONE;
}

int32_t Engine::NewAnchoredObject(ObjectId doc, int32_t type, TTextLoc at, ObjectId& out) {
  out = 0;
  Document* d = TextDocument(doc);
  if (!d) return ERR_BAD_DOCUMENT;
  if (type != OBJ_MARKER) return ERR_NOT_SUPPORTED;
  if (!ValidLocation(*d, at)) return ERR_BAD_LOCATION;
  if (d->readOnly) return ERR_READ_ONLY;
  Marker m;
  m.id = NewId(KIND_MARKER);
  if (!m.id) return ERR_FAILED;
  m.type = d->markerTypeOrder.empty() ? 0 : d->markerTypeOrder.front();
  m.paragraph = at.object;
  Paragraph& p = d->paragraphs.at(at.object);
  p.InsertItem(std::min(at.offset, p.length() - 1), {TI_MARKER_ANCHOR, m.id});
  d->markers[m.id] = m;
  Register(d->id, m.id);
  d->modified = true;
  out = m.id;
  return ERR_NONE;
}

int32_t Engine::DeleteParagraph(ObjectId doc, ObjectId paragraph) {
  Document* d = TextDocument(doc);
  if (!d) return ERR_BAD_DOCUMENT;
  Paragraph* p = Document::Find(d->paragraphs, paragraph);
  if (!p) return ERR_BAD_OBJECT;
  std::vector<ObjectId>* list = d->ParagraphList(p->owner);
  if (!list || list->size() < 2) return ERR_BAD_OBJECT;
  if (d->readOnly) return ERR_READ_ONLY;
  // Their contents would be left without an anchor, and elements without their items.
  constexpr uint32_t kKept =
      TI_ELEMENT_BEGIN | TI_ELEMENT_END | TI_TABLE_ANCHOR | TI_FOOTNOTE_ANCHOR | TI_FRAME_ANCHOR;
  bool kept = false;
  p->ForEachItem([&](int32_t, const Paragraph::Item& item) { kept = kept || (item.kind & kKept); });
  if (kept) return ERR_NOT_SUPPORTED;
  p->ForEachItem([&](int32_t, const Paragraph::Item& item) {
    if (item.kind == TI_MARKER_ANCHOR) {
      d->markers.erase(item.id);
      owner_.erase(item.id);
    }
  });
  list->erase(std::find(list->begin(), list->end(), paragraph));
  if (d->hasSelection &&
      (d->selection.begin.object == paragraph || d->selection.end.object == paragraph)) {
    d->hasSelection = false;
  }
  d->paragraphs.erase(paragraph);
  owner_.erase(paragraph);
  d->modified = true;
  return ERR_NONE;
}

}  // namespace tlhost
