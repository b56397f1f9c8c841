// Property reads and writes on the session, documents, books and their objects.

#include <algorithm>
#include <cstdint>

#include "host/engine/engine.h"
#include "host/engine/utf8.h"

namespace tlhost {

using namespace tolvane;

namespace {

template <typename T>
ObjectId After(const std::vector<T>& list, const T& item) {
  auto at = std::find(list.begin(), list.end(), item);
  return at == list.end() || at + 1 == list.end() ? 0 : *(at + 1);
}
ObjectId FirstOf(const std::vector<ObjectId>& list) {
  return list.empty() ? 0 : list.front();
}

int32_t ElementProp(const Structure& s, const Document* d, ObjectId obj, int32_t prop, Value& out) {
  if (const ElementDefinition* def = Document::Find(s.definitions, obj)) {
    if (prop == P_ELEMDEF_NAME)
      out = Value::String(def->name);
    else if (prop == P_ELEMDEF_ATTR_DEFAULTS)
      out = Value::Attributes(def->defaults);
    else
      return ERR_BAD_PROPERTY;
    return ERR_NONE;
  }
  const StructureElement* e = Document::Find(s.elements, obj);
  if (!e) return ERR_BAD_OBJECT;
  auto sibling = [&]() -> ObjectId {
    const StructureElement* parent = Document::Find(s.elements, e->parent);
    return parent ? After(parent->children, obj) : 0;
  };
  switch (prop) {
    case P_ELEM_DEF:
      out = Value::Id(e->definition);
      break;
    case P_ELEM_ATTRIBUTES:
      out = Value::Attributes(e->attributes);
      break;
    case P_ELEM_UNIQUE_ID:
      out = Value::String(e->uniqueId);
      break;
    case P_ELEM_PARENT:
      out = Value::Id(e->parent);
      break;
    case P_ELEM_FIRST_CHILD:
      out = Value::Id(FirstOf(e->children));
      break;
    case P_ELEM_NEXT_SIBLING:
      out = Value::Id(sibling());
      break;
    case P_ELEM_BOUND_OBJECT:
      out = Value::Id(e->boundObject);
      break;
    case P_ELEM_FILE_REF_MARK:
      out = Value::Int(e->fileRefMark);
      break;
    case P_ELEM_FILE_REF:
      out = Value::String(e->fileRef);
      break;
    case P_ELEM_TEXT_RANGE: {
      TTextRange range{{0, 0}, {0, 0}};
      if (d) d->ElementRange(obj, range);
      out = Value::Range(range);
      break;
    }
    default:
      return ERR_BAD_PROPERTY;
  }
  return ERR_NONE;
}

bool IsMapRoot(const Structure& s, ObjectId root) {
  const StructureElement* e = Document::Find(s.elements, root);
  if (!e) return false;
  const ElementDefinition& def = s.definitions.at(e->definition);
  for (const Attribute& a : e->attributes) {
    if (a.name == "class" && !a.values.empty()) {
      const std::string& v = a.values[0];
      const size_t at = v.find(" map/map");
      return at != std::string::npos && (at + 8 == v.size() || v[at + 8] == ' ');
    }
  }
  return def.name == "map" || def.name == "bookmap";
}

}  // namespace

Document* Engine::OwnerDocument(ObjectId doc, ObjectId obj) {
  auto found = owner_.find(obj);
  if (found == owner_.end()) return nullptr;
  if (doc != 0 && doc != found->second && doc != obj) return nullptr;
  return FindDocument(found->second);
}

int32_t Engine::GetSessionProp(int32_t prop, Value& out) const {
  const Session& s = session_;
  switch (prop) {
    case P_SESSION_PRODUCT_NAME:
      out = Value::String(s.productName);
      break;
    case P_SESSION_VERSION_MAJOR:
      out = Value::Int(s.versionMajor);
      break;
    case P_SESSION_VERSION_MINOR:
      out = Value::Int(s.versionMinor);
      break;
    case P_SESSION_LANGUAGE:
      out = Value::Int(s.language);
      break;
    case P_SESSION_HOST_DIR:
      out = Value::String(s.hostDir);
      break;
    case P_SESSION_USER_DIR:
      out = Value::String(s.userDir);
      break;
    case P_SESSION_ACTIVE_DOC:
      out = Value::Id(s.activeDocument);
      break;
    case P_SESSION_ACTIVE_BOOK:
      out = Value::Id(s.activeBook);
      break;
    case P_SESSION_CURRENT_VIEW:
      out = Value::String(s.currentView);
      break;
    case P_SESSION_DISPLAYING:
      out = Value::Int(s.displaying);
      break;
    case P_SESSION_REFORMATTING:
      out = Value::Int(s.reformatting);
      break;
    case P_SESSION_TRACK_DELETED_TEST:
      out = Value::Int(s.trackDeletedTest);
      break;
    case P_SESSION_STANDARD_MENUS:
      out = Value::Int(s.standardMenus);
      break;
    case P_SESSION_PDF_LIB_INIT:
      out = Value::String(s.pdfLibraryInit);
      break;
    case P_SESSION_PDF_LIB_PATH:
      out = Value::String(s.pdfLibraryPath);
      break;
    case P_SESSION_FIRST_OPEN_DOC:
      out = Value::Id(FirstOf(openDocuments()));
      break;
    case P_SESSION_FIRST_OPEN_BOOK:
      out = Value::Id(FirstOf(openBooks()));
      break;
    default:
      return ERR_BAD_PROPERTY;
  }
  return ERR_NONE;
}

int32_t Engine::SetSessionProp(int32_t prop, const Value& v) {
  Session& s = session_;
  auto text = [&](std::string& field) {
    if (v.type != VT_STRING) return ERR_BAD_TYPE;
    field = v.s;
    return ERR_NONE;
  };
  auto number = [&](int32_t& field) {
    if (v.type != VT_INT) return ERR_BAD_TYPE;
    field = v.i;
    return ERR_NONE;
  };
  auto id = [&](ObjectId& field, uint32_t kind) {
    if (v.type != VT_ID) return ERR_BAD_TYPE;
    if (v.id != 0 && (KindOf(v.id) != kind || (!FindDocument(v.id) && !FindBook(v.id)))) {
      return ERR_BAD_VALUE;
    }
    field = v.id;
    return ERR_NONE;
  };
  switch (prop) {
    case P_SESSION_PRODUCT_NAME:
      return text(s.productName);
    case P_SESSION_VERSION_MAJOR:
      return number(s.versionMajor);
    case P_SESSION_VERSION_MINOR:
      return number(s.versionMinor);
    case P_SESSION_LANGUAGE:
      return number(s.language);
    case P_SESSION_HOST_DIR:
      return text(s.hostDir);
    case P_SESSION_USER_DIR:
      return text(s.userDir);
    case P_SESSION_ACTIVE_DOC:
      return id(s.activeDocument, KIND_DOCUMENT);
    case P_SESSION_ACTIVE_BOOK:
      return id(s.activeBook, KIND_BOOK);
    case P_SESSION_CURRENT_VIEW:
      return text(s.currentView);
    case P_SESSION_DISPLAYING:
      return number(s.displaying);
    case P_SESSION_REFORMATTING:
      return number(s.reformatting);
    case P_SESSION_TRACK_DELETED_TEST:
      return number(s.trackDeletedTest);
    case P_SESSION_STANDARD_MENUS:
      return number(s.standardMenus);
    case P_SESSION_PDF_LIB_INIT:
      return text(s.pdfLibraryInit);
    case P_SESSION_PDF_LIB_PATH:
      return text(s.pdfLibraryPath);
    default: {
      Value ignored;
      return GetSessionProp(prop, ignored) == ERR_NONE ? ERR_READ_ONLY : ERR_BAD_PROPERTY;
    }
  }
}

int32_t Engine::GetProp(ObjectId doc, ObjectId obj, int32_t prop, Value& out) {
  if (doc == 0 && obj == 0) return GetSessionProp(prop, out);
  if (doc != 0 && !FindDocument(doc) && !FindBook(doc)) return ERR_BAD_DOCUMENT;
  auto owner = owner_.find(obj);
  if (owner == owner_.end() || (doc != 0 && doc != owner->second && doc != obj)) {
    return ERR_BAD_OBJECT;
  }
  if (const Book* b = FindBook(owner->second)) return GetBookProp(*b, obj, prop, out);
  return GetDocumentProp(*FindDocument(owner->second), obj, prop, out);
}

int32_t Engine::GetBookProp(const Book& b, ObjectId obj, int32_t prop, Value& out) const {
  if (obj == b.id) {
    switch (prop) {
      case P_BOOK_NAME:
        out = Value::String(b.path);
        break;
      case P_BOOK_MODIFIED:
        out = Value::Int(b.modified);
        break;
      case P_BOOK_FIRST_COMPONENT:
        out = Value::Id(FirstOf(b.components));
        break;
      case P_BOOK_NEXT_OPEN:
        out = Value::Id(NextOpen(b.id));
        break;
      case P_BOOK_HIGHEST_ELEMENT:
        out = Value::Id(b.highestElement);
        break;
      case P_DOC_TYPE_FLAGS:
        out = Value::Int(4);
        break;
      default:
        return ERR_BAD_PROPERTY;
    }
    return ERR_NONE;
  }
  const BookComponent* c = Document::Find(b.componentsById, obj);
  if (!c) return ElementProp(b.structure, nullptr, obj, prop, out);
  const std::vector<ObjectId>& siblings =
      c->parent ? b.componentsById.at(c->parent).children : b.components;
  switch (prop) {
    case P_COMP_FILE_NAME:
      out = Value::String(b.ComponentPath(*c));
      break;
    case P_COMP_SECOND_NAME:
      out = Value::String(c->secondName);
      break;
    case P_COMP_NAME:
      out = Value::String(c->name);
      break;
    case P_COMP_EXCLUDE:
      out = Value::Int(c->exclude);
      break;
    case P_COMP_EXCLUDE_NESTED:
      out = Value::Int(c->excludeNested);
      break;
    case P_COMP_IS_CONTAINER:
      out = Value::Int(c->container);
      break;
    case P_COMP_TYPE:
      out = Value::Int(c->type);
      break;
    case P_COMP_NEXT:
      out = Value::Id(After(siblings, obj));
      break;
    case P_COMP_FIRST_CHILD:
      out = Value::Id(FirstOf(c->children));
      break;
    case P_COMP_OBJECT: {
      // The first text frame of the main flow of the component's document, once it is open.
      ObjectId frame = 0;
      const std::string path = b.ComponentPath(*c);
      for (const auto& [id, d] : documents_) {
        if (d->path == path && d->flows.count(d->mainFlow))
          frame = d->flows.at(d->mainFlow).firstFrame;
      }
      out = Value::Id(frame);
      break;
    }
    default:
      return ERR_BAD_PROPERTY;
  }
  return ERR_NONE;
}

int32_t Engine::GetDocumentProp(const Document& d, ObjectId obj, int32_t prop, Value& out) const {
  auto id = [&](ObjectId v) {
    out = Value::Id(v);
    return ERR_NONE;
  };
  auto number = [&](int32_t v) {
    out = Value::Int(v);
    return ERR_NONE;
  };
  auto text = [&](const std::string& v) {
    out = Value::String(v);
    return ERR_NONE;
  };
  if (obj == d.id) {
    switch (prop) {
      case P_DOC_NAME:
        return text(d.path);
      case P_DOC_MODIFIED:
        return number(d.modified);
      case P_DOC_READ_ONLY:
        return number(d.readOnly);
      case P_DOC_TRACK_PREVIEW:
        return number(d.trackPreview);
      case P_DOC_STATUS_BAR:
        return text(d.statusBar);
      case P_DOC_TEXT_SELECTION:
        out = Value::Range(d.hasSelection ? d.selection : TTextRange{{0, 0}, {0, 0}});
        return ERR_NONE;
      case P_DOC_SELECTED_TEXT_OBJECT:
        return id(d.hasSelection ? d.selection.begin.object : 0);
      case P_DOC_MAIN_FLOW:
        return id(d.mainFlow);
      case P_DOC_FIRST_FLOW:
        return id(FirstOf(d.flowOrder));
      case P_DOC_FIRST_COLOUR:
        return id(FirstOf(d.colourOrder));
      case P_DOC_FIRST_BODY_PAGE:
        for (ObjectId p : d.pageOrder) {
          if (KindOf(p) == KIND_BODY_PAGE) return id(p);
        }
        return id(0);
      case P_DOC_NEXT_OPEN:
        return id(NextOpen(d.id));
      case P_DOC_FIRST_CONDITION:
        return id(FirstOf(d.conditionOrder));
      case P_DOC_FIRST_MARKER_TYPE:
        return id(FirstOf(d.markerTypeOrder));
      case P_DOC_FIRST_ELEMENT_DEF:
        return id(FirstOf(d.structure.definitionOrder));
      case P_DOC_TYPE_FLAGS: {
        const Flow* main = Document::Find(d.flows, d.mainFlow);
        return number(main && IsMapRoot(d.structure, main->highestElement) ? 128 : 1);
      }
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (const Flow* f = Document::Find(d.flows, obj)) {
    switch (prop) {
      case P_FLOW_NAME:
        return text(f->name);
      case P_FLOW_NEXT:
        return id(After(d.flowOrder, obj));
      case P_FLOW_FIRST_TEXT_FRAME:
      case P_OBJECT_PARENT:
        return id(f->firstFrame);
      case P_FLOW_FIRST_PARAGRAPH:
        return id(FirstOf(f->paragraphs));
      case P_FLOW_LAST_PARAGRAPH:
        return id(f->paragraphs.empty() ? 0 : f->paragraphs.back());
      case P_FLOW_HIGHEST_ELEMENT:
        return id(f->highestElement);
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (const TextFrame* t = Document::Find(d.frames, obj)) {
    switch (prop) {
      case P_FRAME_PAGE: {
        // A frame inside an anchored frame lies on the page of the anchoring paragraph.
        ObjectId at = t->parent;
        for (int guard = 0; guard < 64 && at && !d.pages.count(at); ++guard) {
          const AnchoredFrame* a = Document::Find(d.anchoredFrames, at);
          const Paragraph* p = a ? Document::Find(d.paragraphs, a->paragraph) : nullptr;
          const Flow* f = p ? Document::Find(d.flows, p->owner) : nullptr;
          const TextFrame* outer = f ? Document::Find(d.frames, f->firstFrame) : nullptr;
          at = outer ? outer->parent : 0;
        }
        return id(d.pages.count(at) ? at : 0);
      }
      case P_FRAME_FLOW:
        return id(t->flow);
      case P_FRAME_PARENT:
      case P_OBJECT_PARENT:
        return id(t->parent);
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (d.pages.count(obj)) {
    if (prop == P_PAGE_NEXT) {
      auto at = std::find(d.pageOrder.begin(), d.pageOrder.end(), obj);
      for (++at; at != d.pageOrder.end(); ++at) {
        if (KindOf(*at) == KindOf(obj)) return id(*at);
      }
      return id(0);
    }
    if (prop == P_OBJECT_PARENT || prop == P_OBJECT_PARENT_2) return id(0);
    return ERR_BAD_PROPERTY;
  }
  if (const Paragraph* p = Document::Find(d.paragraphs, obj)) {
    const std::vector<ObjectId>* list = d.ParagraphList(p->owner);
    const int at = d.IndexInList(obj);
    const Flow* flow = Document::Find(d.flows, p->owner);
    switch (prop) {
      case P_PGF_UNIQUE:
        return number(p->unique);
      case P_PGF_FORMAT:
        return text(p->format);
      case P_PGF_AUTONUMBER:
        return text(p->autonumber);
      case P_PGF_AUTONUMBER_NOT_IN_PDF:
        return number(p->autonumberNotInPdf);
      case P_PGF_NEXT:
        return id(list && at + 1 < static_cast<int>(list->size()) ? (*list)[at + 1] : 0);
      case P_PGF_PREV:
        return id(list && at > 0 ? (*list)[at - 1] : 0);
      case P_PGF_FLOW:
        return id(flow ? flow->id : 0);
      case P_PGF_CELL:
        return id(d.cells.count(p->owner) ? p->owner : 0);
      case P_PGF_FOOTNOTE:
        return id(d.footnotes.count(p->owner) ? p->owner : 0);
      case P_PGF_TABLE_TITLE:
        return id(d.tables.count(p->owner) ? p->owner : 0);
      case P_PGF_TEXT_LENGTH:
        return number(p->length());
      case P_OBJECT_PARENT:
        return id(flow ? flow->firstFrame : 0);
      case P_OBJECT_PARENT_2:
        return id(flow ? 0 : p->owner);
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (const Condition* c = Document::Find(d.conditions, obj)) {
    switch (prop) {
      case P_COND_NAME:
        return text(c->name);
      case P_COND_SHOWN:
        return number(c->shown);
      case P_COND_COLOUR_OVERRIDE:
        return number(c->colourOverride);
      case P_COND_OVERRIDE_COLOUR:
        return id(c->overrideColour);
      case P_COND_STYLE_OVERRIDE:
        return number(c->styleOverride);
      case P_COND_BACKGROUND_ON:
        return number(c->backgroundOn);
      case P_COND_BACKGROUND_COLOUR:
        return id(c->backgroundColour);
      case P_COND_NEXT:
        return id(After(d.conditionOrder, obj));
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (const Colour* c = Document::Find(d.colours, obj)) {
    switch (prop) {
      case P_COLOUR_NAME:
        return text(c->name);
      case P_COLOUR_RESERVED:
        return number(c->reserved);
      case P_COLOUR_NEXT:
        return id(After(d.colourOrder, obj));
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (const MarkerType* t = Document::Find(d.markerTypes, obj)) {
    if (prop != P_MARKER_TYPE_NAME) return ERR_BAD_PROPERTY;
    return text(t->name);
  }
  if (const Marker* m = Document::Find(d.markers, obj)) {
    switch (prop) {
      case P_MARKER_TYPE:
        return id(m->type);
      case P_MARKER_TEXT:
        return text(m->text);
      case P_MARKER_TYPE_NAME: {
        const MarkerType* t = Document::Find(d.markerTypes, m->type);
        return text(t ? t->name : "");
      }
      case P_MARKER_LOCATION: {
        TTextLoc at{0, 0};
        d.AnchorLocation(obj, at);
        out = Value::Loc(at);
        return ERR_NONE;
      }
      case P_OBJECT_PARENT:
        return id(m->paragraph);
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (const Table* t = Document::Find(d.tables, obj)) {
    switch (prop) {
      case P_TABLE_FIRST_TITLE_PGF:
        return id(FirstOf(t->titleParagraphs));
      case P_TABLE_FIRST_ROW:
        return id(FirstOf(t->rows));
      case P_TABLE_ANCHOR_PGF:
      case P_OBJECT_PARENT:
        return id(t->paragraph);
      case P_TABLE_TITLE_ON:
        return number(t->titleOn);
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (const TableRow* r = Document::Find(d.rows, obj)) {
    switch (prop) {
      case P_ROW_KIND:
        return number(r->kind);
      case P_ROW_NEXT:
        return id(After(d.tables.at(r->table).rows, obj));
      case P_ROW_FIRST_CELL:
        return id(FirstOf(r->cells));
      case P_ROW_TABLE:
      case P_OBJECT_PARENT:
        return id(r->table);
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (const TableCell* c = Document::Find(d.cells, obj)) {
    switch (prop) {
      case P_CELL_NEXT:
        return id(After(d.rows.at(c->row).cells, obj));
      case P_CELL_FIRST_PGF:
      case P_BOUND_FIRST_PGF:
        return id(FirstOf(c->paragraphs));
      case P_CELL_STRADDLED:
        return number(c->straddled);
      case P_CELL_ROW:
      case P_OBJECT_PARENT:
        return id(c->row);
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (const Footnote* f = Document::Find(d.footnotes, obj)) {
    switch (prop) {
      case P_FN_NUMBER:
        return text(f->number);
      case P_FN_FIRST_PGF:
        return id(FirstOf(f->paragraphs));
      case P_FN_ANCHOR_PGF:
      case P_OBJECT_PARENT:
        return id(f->paragraph);
      case P_FN_NEXT: {
        // The next footnote anchored in the same flow, in document order.
        const Paragraph* anchor = Document::Find(d.paragraphs, f->paragraph);
        auto at = std::find(d.footnoteOrder.begin(), d.footnoteOrder.end(), obj);
        for (++at; anchor && at != d.footnoteOrder.end(); ++at) {
          const Paragraph* other = Document::Find(d.paragraphs, d.footnotes.at(*at).paragraph);
          if (other && other->owner == anchor->owner) return id(*at);
        }
        return id(0);
      }
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (const AnchoredFrame* a = Document::Find(d.anchoredFrames, obj)) {
    switch (prop) {
      case P_AFRAME_FIRST_TEXT_FRAME:
        return id(FirstOf(a->textFrames));
      case P_AFRAME_ANCHOR_PGF:
      case P_OBJECT_PARENT:
        return id(a->paragraph);
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (d.xrefs.count(obj)) return ERR_BAD_PROPERTY;
  return ElementProp(d.structure, &d, obj, prop, out);
}

int32_t Engine::SetProp(ObjectId doc, ObjectId obj, int32_t prop, const Value& value) {
  if (doc == 0 && obj == 0) return SetSessionProp(prop, value);
  Value current;
  const int32_t readable = GetProp(doc, obj, prop, current);
  if (readable) return readable;
  if (current.type != value.type) return ERR_BAD_TYPE;
  const ObjectId owner = owner_.at(obj);
  if (Book* b = FindBook(owner)) return SetBookProp(*b, obj, prop, value);
  return SetDocumentProp(*FindDocument(owner), obj, prop, value);
}

int32_t Engine::SetBookProp(Book& b, ObjectId obj, int32_t prop, const Value& v) {
  if (obj == b.id && prop == P_BOOK_MODIFIED) {
    b.modified = v.i != 0;
    return ERR_NONE;
  }
  if (BookComponent* c = Document::Find(b.componentsById, obj)) {
    if (prop == P_COMP_EXCLUDE)
      c->exclude = v.i != 0;
    else if (prop == P_COMP_EXCLUDE_NESTED)
      c->excludeNested = v.i != 0;
    else
      return ERR_READ_ONLY;
    b.modified = true;
    return ERR_NONE;
  }
  return ERR_READ_ONLY;
}

int32_t Engine::SetDocumentProp(Document& d, ObjectId obj, int32_t prop, const Value& v) {
  if (obj == d.id) {
    switch (prop) {
      case P_DOC_MODIFIED:
        d.modified = v.i != 0;
        return ERR_NONE;
      case P_DOC_READ_ONLY:
        d.readOnly = v.i != 0;
        return ERR_NONE;
      case P_DOC_TRACK_PREVIEW:
        if (v.i < 0 || v.i > 2) return ERR_BAD_VALUE;
        d.trackPreview = v.i;
        return ERR_NONE;
      case P_DOC_STATUS_BAR:
        if (!utf8::IsGoodText(v.s)) return ERR_BAD_VALUE;
        d.statusBar = v.s;
        return ERR_NONE;
      case P_DOC_TEXT_SELECTION:
        return SetSelection(d, v.range);
      default:
        return ERR_READ_ONLY;
    }
  }
  auto colour = [&](ObjectId& field) {
    if (v.id != 0 && !d.colours.count(v.id)) return ERR_BAD_VALUE;
    field = v.id;
    return ERR_NONE;
  };
  int32_t e = ERR_READ_ONLY;
  if (Condition* c = Document::Find(d.conditions, obj)) {
    switch (prop) {
      case P_COND_NAME: {
        if (v.s.empty() || v.s.find('|') != std::string::npos || !utf8::IsGoodText(v.s))
          return ERR_BAD_NAME;
        const Condition* other = d.FindCondition(v.s);
        if (other && other != c) return ERR_NAME_IN_USE;
        c->name = v.s;
        e = ERR_NONE;
        break;
      }
      case P_COND_SHOWN:
        c->shown = v.i != 0;
        e = ERR_NONE;
        break;
      case P_COND_COLOUR_OVERRIDE:
        c->colourOverride = v.i != 0;
        e = ERR_NONE;
        break;
      case P_COND_OVERRIDE_COLOUR:
        e = colour(c->overrideColour);
        break;
      case P_COND_STYLE_OVERRIDE:
        if (v.i < STYLE_NONE || v.i > STYLE_DOUBLE_UNDERLINE) return ERR_BAD_VALUE;
        c->styleOverride = v.i;
        e = ERR_NONE;
        break;
      case P_COND_BACKGROUND_ON:
        c->backgroundOn = v.i != 0;
        e = ERR_NONE;
        break;
      case P_COND_BACKGROUND_COLOUR:
        e = colour(c->backgroundColour);
        break;
      default:
        break;
    }
  } else if (Marker* m = Document::Find(d.markers, obj)) {
    if (prop == P_MARKER_TYPE) {
      if (!d.markerTypes.count(v.id)) return ERR_BAD_VALUE;
      m->type = v.id;
      e = ERR_NONE;
    } else if (prop == P_MARKER_TEXT) {
      if (!utf8::IsGoodText(v.s)) return ERR_BAD_VALUE;
      m->text = v.s;
      e = ERR_NONE;
    }
  } else if (Paragraph* p = Document::Find(d.paragraphs, obj)) {
    if (prop == P_PGF_FORMAT || prop == P_PGF_AUTONUMBER) {
      if (!utf8::IsGoodText(v.s)) return ERR_BAD_VALUE;
      (prop == P_PGF_FORMAT ? p->format : p->autonumber) = v.s;
      e = ERR_NONE;
    } else if (prop == P_PGF_AUTONUMBER_NOT_IN_PDF) {
      p->autonumberNotInPdf = v.i != 0;
      e = ERR_NONE;
    }
  } else if (StructureElement* el = Document::Find(d.structure.elements, obj)) {
    if (prop == P_ELEM_ATTRIBUTES) {
      for (const Attribute& a : v.attributes) {
        if (!utf8::IsGoodText(a.name)) return ERR_BAD_VALUE;
        for (const std::string& value : a.values) {
          if (!utf8::IsGoodText(value)) return ERR_BAD_VALUE;
        }
      }
      el->attributes = v.attributes;
      e = ERR_NONE;
    } else if (prop == P_ELEM_UNIQUE_ID) {
      if (!utf8::IsGoodText(v.s)) return ERR_BAD_VALUE;
      el->uniqueId = v.s;
      e = ERR_NONE;
    }
  }
  if (e == ERR_NONE) d.modified = true;
  return e;
}

int32_t Engine::GetProps(ObjectId doc, ObjectId obj, std::vector<PropValue>& out) {
  out.clear();
  Value probe;
  // Any property proves that the object exists; then every number is tried in turn.
  const int32_t first = GetProp(doc, obj, -1, probe);
  if (first == ERR_BAD_OBJECT || first == ERR_BAD_DOCUMENT) return first;
  static const int32_t kRanges[][2] = {{1, 17},    {100, 115}, {200, 205}, {250, 262}, {300, 311},
                                       {500, 507}, {550, 552}, {600, 603}, {650, 673}, {700, 703},
                                       {750, 751}, {800, 830}, {900, 919}};
  for (const auto& range : kRanges) {
    for (int32_t prop = range[0]; prop <= range[1]; ++prop) {
      Value v;
      if (GetProp(doc, obj, prop, v) == ERR_NONE) out.push_back({prop, v});
    }
  }
  return ERR_NONE;
}

int32_t Engine::GetNamedObject(ObjectId doc, int32_t type, const std::string& name, ObjectId& out) {
  out = 0;
  Document* d = FindDocument(doc);
  if (!d) return ERR_BAD_DOCUMENT;
  auto byName = [&](const auto& order, const auto& objects) {
    for (ObjectId id : order) {
      if (objects.at(id).name == name) {
        out = id;
        return ERR_NONE;
      }
    }
    return ERR_NOT_FOUND;
  };
  switch (type) {
    case OBJ_CONDITION:
      return byName(d->conditionOrder, d->conditions);
    case OBJ_COLOUR:
      return byName(d->colourOrder, d->colours);
    case OBJ_MARKER_TYPE:
      return byName(d->markerTypeOrder, d->markerTypes);
    case OBJ_ELEMENT_DEF:
      return byName(d->structure.definitionOrder, d->structure.definitions);
    case OBJ_FLOW:
      return byName(d->flowOrder, d->flows);
    default:
      return ERR_BAD_TYPE;
  }
}

int32_t Engine::NewNamedObject(ObjectId doc, int32_t type, const std::string& name, ObjectId& out) {
  out = 0;
  Document* d = FindDocument(doc);
  if (!d) return ERR_BAD_DOCUMENT;
  if (type != OBJ_CONDITION && type != OBJ_COLOUR && type != OBJ_MARKER_TYPE &&
      type != OBJ_ELEMENT_DEF && type != OBJ_FLOW) {
    return ERR_BAD_TYPE;
  }
  if (d->readOnly) return ERR_READ_ONLY;
  if (name.empty() || !utf8::IsGoodText(name) ||
      (type == OBJ_CONDITION && name.find('|') != std::string::npos)) {
    return ERR_BAD_NAME;
  }
  ObjectId existing = 0;
  if (GetNamedObject(doc, type, name, existing) == ERR_NONE) return ERR_NAME_IN_USE;
  // A new flow needs a unique number for its paragraph; the last one is never given out.
  if (type == OBJ_FLOW && d->nextUnique == INT32_MAX) return ERR_FAILED;
  const ObjectId id = NewId(static_cast<uint32_t>(type));
  if (!id) return ERR_FAILED;
  switch (type) {
    case OBJ_CONDITION:
      d->conditions[id] = Condition{id, name, true, false, 0, STYLE_NONE, false, 0};
      d->conditionOrder.push_back(id);
      break;
    case OBJ_COLOUR:
      d->colours[id] = Colour{id, name, 0};
      d->colourOrder.push_back(id);
      break;
    case OBJ_MARKER_TYPE:
      d->markerTypes[id] = MarkerType{id, name};
      d->markerTypeOrder.push_back(id);
      break;
    case OBJ_ELEMENT_DEF:
      d->structure.definitions[id] = ElementDefinition{id, name, {}};
      d->structure.definitionOrder.push_back(id);
      break;
    default: {
      // A new flow holds one empty paragraph and is shown in no text frame yet.
      Paragraph p;
      p.id = NewId(KIND_PARAGRAPH);
      if (!p.id) return ERR_FAILED;
      p.unique = d->nextUnique++;
      p.owner = id;
      Flow f;
      f.id = id;
      f.name = name;
      f.paragraphs.push_back(p.id);
      Register(d->id, p.id);
      d->paragraphs[p.id] = p;
      d->flows[id] = f;
      d->flowOrder.push_back(id);
      break;
    }
  }
  Register(d->id, id);
  d->modified = true;
  out = id;
  return ERR_NONE;
}

int32_t Engine::GetObjectByUniqueId(ObjectId doc, int32_t type, int32_t unique, ObjectId& out) {
  out = 0;
  Document* d = FindDocument(doc);
  if (!d) return ERR_BAD_DOCUMENT;
  if (type != OBJ_PARAGRAPH) return ERR_BAD_TYPE;
  out = d->ParagraphByUnique(unique);
  return out ? ERR_NONE : ERR_NOT_FOUND;
}

}  // namespace tlhost
