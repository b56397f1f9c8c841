#include "host/engine/engine.h"

#include <algorithm>
#include <filesystem>

namespace tlhost {

using namespace tolvane;

namespace {

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

OpenFileRecord* Engine::FindFile(ObjectId id) {
  for (OpenFileRecord& f : files_) {
    if (f.id == id) return &f;
  }
  return nullptr;
}

ObjectId Engine::NewDocument(const std::string& path) {
  OpenFileRecord record;
  record.id = NewId(KIND_DOCUMENT);
  record.path = path;
  record.mainFlow = NewId(KIND_FLOW);
  files_.push_back(record);
  return record.id;
}

ObjectId Engine::NewBook(const std::string& path) {
  OpenFileRecord record;
  record.id = NewId(KIND_BOOK);
  record.path = path;
  files_.push_back(record);
  return record.id;
}

ObjectId Engine::SetStructureRoot(ObjectId target, const std::string& definitionName,
                                  std::vector<Attribute> attributes,
                                  std::vector<Attribute> definitionDefaults) {
  OpenFileRecord* file = FindFile(target);
  if (!file) return 0;
  ElementDefinition definition{NewId(KIND_ELEMENT_DEF), definitionName,
                               std::move(definitionDefaults)};
  StructureElement element{NewId(KIND_ELEMENT), definition.id, std::move(attributes)};
  definitions_[definition.id] = definition;
  elements_[element.id] = element;
  file->highestElement = element.id;
  return element.id;
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
    case P_SESSION_FIRST_OPEN_BOOK: {
      const uint32_t kind = prop == P_SESSION_FIRST_OPEN_DOC ? KIND_DOCUMENT : KIND_BOOK;
      ObjectId first = 0;
      for (const OpenFileRecord& f : files_) {
        if (KindOf(f.id) == kind) {
          first = f.id;
          break;
        }
      }
      out = Value::Id(first);
      break;
    }
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
    if (v.id != 0 && (KindOf(v.id) != kind || !FindFile(v.id))) return ERR_BAD_VALUE;
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
    default:
      return ERR_BAD_PROPERTY;
  }
}

int32_t Engine::GetProp(ObjectId doc, ObjectId obj, int32_t prop, Value& out) {
  if (doc == 0 && obj == 0) return GetSessionProp(prop, out);
  if (OpenFileRecord* file = FindFile(obj)) {
    const bool book = KindOf(file->id) == KIND_BOOK;
    switch (prop) {
      case P_DOC_NAME:
      case P_BOOK_NAME:
        out = Value::String(file->path);
        return ERR_NONE;
      case P_DOC_MODIFIED:
      case P_BOOK_MODIFIED:
        out = Value::Int(file->modified);
        return ERR_NONE;
      case P_DOC_READ_ONLY:
        out = Value::Int(file->readOnly);
        return ERR_NONE;
      case P_DOC_STATUS_BAR:
        out = Value::String(file->statusBar);
        return ERR_NONE;
      case P_DOC_MAIN_FLOW:
        if (book) return ERR_BAD_PROPERTY;
        out = Value::Id(file->mainFlow);
        return ERR_NONE;
      case P_BOOK_HIGHEST_ELEMENT:
        if (!book) return ERR_BAD_PROPERTY;
        out = Value::Id(file->highestElement);
        return ERR_NONE;
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (KindOf(obj) == KIND_FLOW) {
    for (const OpenFileRecord& f : files_) {
      if (f.mainFlow != obj) continue;
      if (prop != P_FLOW_HIGHEST_ELEMENT) return ERR_BAD_PROPERTY;
      out = Value::Id(f.highestElement);
      return ERR_NONE;
    }
  }
  if (auto element = elements_.find(obj); element != elements_.end()) {
    if (prop == P_ELEM_DEF) {
      out = Value::Id(element->second.definition);
    } else if (prop == P_ELEM_ATTRIBUTES) {
      out = Value::Attributes(element->second.attributes);
    } else {
      return ERR_BAD_PROPERTY;
    }
    return ERR_NONE;
  }
  if (auto definition = definitions_.find(obj); definition != definitions_.end()) {
    if (prop == P_ELEMDEF_NAME) {
      out = Value::String(definition->second.name);
    } else if (prop == P_ELEMDEF_ATTR_DEFAULTS) {
      out = Value::Attributes(definition->second.defaults);
    } else {
      return ERR_BAD_PROPERTY;
    }
    return ERR_NONE;
  }
  return ERR_BAD_OBJECT;
}

int32_t Engine::SetProp(ObjectId doc, ObjectId obj, int32_t prop, const Value& value) {
  if (doc == 0 && obj == 0) return SetSessionProp(prop, value);
  OpenFileRecord* file = FindFile(obj);
  if (!file) return ERR_BAD_OBJECT;
  if (prop == P_DOC_STATUS_BAR && value.type == VT_STRING) {
    file->statusBar = value.s;
    return ERR_NONE;
  }
  if ((prop == P_DOC_MODIFIED || prop == P_BOOK_MODIFIED) && value.type == VT_INT) {
    file->modified = value.i;
    return ERR_NONE;
  }
  if (prop == P_DOC_READ_ONLY && value.type == VT_INT) {
    file->readOnly = value.i;
    return ERR_NONE;
  }
  return ERR_BAD_PROPERTY;
}

int32_t Engine::GetProps(ObjectId doc, ObjectId obj, std::vector<PropValue>& out) {
  out.clear();
  for (int32_t prop : {P_DOC_NAME, P_DOC_MODIFIED, P_DOC_READ_ONLY}) {
    Value v;
    if (GetProp(doc, obj, prop, v) == ERR_NONE) out.push_back({prop, v});
  }
  return out.empty() ? ERR_BAD_OBJECT : ERR_NONE;
}

int32_t Engine::GetNamedObject(ObjectId, int32_t, const std::string&, ObjectId& out) {
  out = 0;
  return ERR_NOT_SUPPORTED;
}
int32_t Engine::NewNamedObject(ObjectId, int32_t, const std::string&, ObjectId& out) {
  out = 0;
  return ERR_NOT_SUPPORTED;
}
int32_t Engine::NewAnchoredObject(ObjectId, int32_t, TTextLoc, ObjectId& out) {
  out = 0;
  return ERR_NOT_SUPPORTED;
}
int32_t Engine::GetObjectByUniqueId(ObjectId, int32_t, int32_t, ObjectId& out) {
  out = 0;
  return ERR_NOT_SUPPORTED;
}
int32_t Engine::GetText(ObjectId, ObjectId, uint32_t, uint32_t, std::vector<TextItem>& out) {
  out.clear();
  return ERR_NOT_SUPPORTED;
}
int32_t Engine::GetTextInRange(ObjectId, TTextRange, uint32_t, uint32_t,
                               std::vector<TextItem>& out) {
  out.clear();
  return ERR_NOT_SUPPORTED;
}
int32_t Engine::AddText(ObjectId, TTextLoc at, const std::string&, TTextLoc& after) {
  after = at;
  return ERR_NOT_SUPPORTED;
}
int32_t Engine::GetTextProp(ObjectId, TTextLoc, int32_t, Value&) {
  return ERR_NOT_SUPPORTED;
}
int32_t Engine::SetTextProps(ObjectId, TTextRange, const std::vector<PropValue>&) {
  return ERR_NOT_SUPPORTED;
}
int32_t Engine::ObjectAtTextLoc(ObjectId, TTextLoc, ObjectId& element, ObjectId& textObject) {
  element = textObject = 0;
  return ERR_NOT_SUPPORTED;
}
int32_t Engine::TestTextLocs(ObjectId, TTextLoc, TTextLoc, int32_t& out) {
  out = 0;
  return ERR_NOT_SUPPORTED;
}

int32_t Engine::OpenFile(const std::string& path, const std::vector<PropValue>&, ObjectId& out,
                         std::vector<PropValue>& returned) {
  returned.clear();
  out = 0;
  // An open file is found again, names compared without regard to letter case.
  for (const OpenFileRecord& f : files_) {
    if (Lower(f.path) == Lower(path)) {
      out = f.id;
      returned.push_back({OPEN_RETURN_ALREADY_OPEN, Value::Int(1)});
      return ERR_NONE;
    }
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    returned.push_back({OPEN_RETURN_ERROR, Value::Int(ERR_FILE_OPEN)});
    return ERR_FILE_OPEN;
  }
  out = EndsWith(Lower(path), ".tlb") ? NewBook(path) : NewDocument(path);
  return ERR_NONE;
}

int32_t Engine::Close(ObjectId obj, int32_t) {
  auto found = std::find_if(files_.begin(), files_.end(),
                            [&](const OpenFileRecord& f) { return f.id == obj; });
  if (found == files_.end()) return ERR_BAD_OBJECT;
  if (session_.activeDocument == obj) session_.activeDocument = 0;
  if (session_.activeBook == obj) session_.activeBook = 0;
  files_.erase(found);
  return ERR_NONE;
}

int32_t Engine::Redisplay(ObjectId doc) {
  if (!FindFile(doc)) return ERR_BAD_DOCUMENT;
  ++redisplays_[doc];
  return ERR_NONE;
}

int32_t Engine::Reformat(ObjectId doc) {
  if (!FindFile(doc)) return ERR_BAD_DOCUMENT;
  ++reformats_[doc];
  return ERR_NONE;
}

int Engine::redisplayCount(ObjectId doc) const {
  auto found = redisplays_.find(doc);
  return found == redisplays_.end() ? 0 : found->second;
}

int Engine::reformatCount(ObjectId doc) const {
  auto found = reformats_.find(doc);
  return found == reformats_.end() ? 0 : found->second;
}

}  // namespace tlhost
