// The stand-in host's document engine, first slice: the session with its settings, open
// documents and books with their file names and flags, and a structure root with its element
// definition and attributes. Flows, paragraphs and text come with the full document model;
// until then the text operations answer ERR_NOT_SUPPORTED.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/engine/value.h"

namespace tlhost {

struct ElementDefinition {
  ObjectId id = 0;
  std::string name;
  std::vector<Attribute> defaults;
};

struct StructureElement {
  ObjectId id = 0;
  ObjectId definition = 0;
  std::vector<Attribute> attributes;
};

struct OpenFileRecord {
  ObjectId id = 0;  // a document or a book
  std::string path;
  int32_t modified = 0;
  int32_t readOnly = 0;
  ObjectId mainFlow = 0;        // documents: where the structure root hangs
  ObjectId highestElement = 0;  // 0 when unstructured
  std::string statusBar;
};

struct Session {
  std::string productName = "Tolvane";
  int32_t versionMajor = 17;
  int32_t versionMinor = 0;
  int32_t language = tolvane::LANG_JAPANESE;
  std::string hostDir;
  std::string userDir;
  std::string currentView = "WYSIWYG View";
  int32_t displaying = 1;
  int32_t reformatting = 1;
  int32_t trackDeletedTest = 1;
  int32_t standardMenus = 1;
  std::string pdfLibraryInit = "1";
  std::string pdfLibraryPath;
  ObjectId activeDocument = 0;
  ObjectId activeBook = 0;
};

class Engine {
 public:
  Session& session() { return session_; }

  // Opens (or creates in memory) a document or book named by `path`; books end in ".tlb".
  ObjectId NewDocument(const std::string& path);
  ObjectId NewBook(const std::string& path);
  // Gives a document or book a structure root of the given definition and attributes.
  ObjectId SetStructureRoot(ObjectId target, const std::string& definitionName,
                            std::vector<Attribute> attributes,
                            std::vector<Attribute> definitionDefaults = {});

  int32_t GetProp(ObjectId doc, ObjectId obj, int32_t prop, Value& out);
  int32_t SetProp(ObjectId doc, ObjectId obj, int32_t prop, const Value& value);
  int32_t GetProps(ObjectId doc, ObjectId obj, std::vector<PropValue>& out);
  int32_t GetNamedObject(ObjectId doc, int32_t type, const std::string& name, ObjectId& out);
  int32_t NewNamedObject(ObjectId doc, int32_t type, const std::string& name, ObjectId& out);
  int32_t NewAnchoredObject(ObjectId doc, int32_t type, TTextLoc at, ObjectId& out);
  int32_t GetObjectByUniqueId(ObjectId doc, int32_t type, int32_t unique, ObjectId& out);
  int32_t GetText(ObjectId doc, ObjectId obj, uint32_t flags, uint32_t options,
                  std::vector<TextItem>& out);
  int32_t GetTextInRange(ObjectId doc, TTextRange range, uint32_t flags, uint32_t options,
                         std::vector<TextItem>& out);
  int32_t AddText(ObjectId doc, TTextLoc at, const std::string& utf8, TTextLoc& after);
  int32_t GetTextProp(ObjectId doc, TTextLoc at, int32_t prop, Value& out);
  int32_t SetTextProps(ObjectId doc, TTextRange range, const std::vector<PropValue>& props);
  int32_t ObjectAtTextLoc(ObjectId doc, TTextLoc at, ObjectId& element, ObjectId& textObject);
  int32_t TestTextLocs(ObjectId doc, TTextLoc a, TTextLoc b, int32_t& out);
  int32_t OpenFile(const std::string& path, const std::vector<PropValue>& params, ObjectId& out,
                   std::vector<PropValue>& returned);
  int32_t Close(ObjectId obj, int32_t flags);
  int32_t Redisplay(ObjectId doc);
  int32_t Reformat(ObjectId doc);
  int redisplayCount(ObjectId doc) const;
  int reformatCount(ObjectId doc) const;

 private:
  ObjectId NewId(uint32_t kind) { return tolvane::MakeId(kind, ++serial_); }
  OpenFileRecord* FindFile(ObjectId id);
  int32_t GetSessionProp(int32_t prop, Value& out) const;
  int32_t SetSessionProp(int32_t prop, const Value& value);

  uint32_t serial_ = 0;
  Session session_;
  std::vector<OpenFileRecord> files_;
  std::map<ObjectId, ElementDefinition> definitions_;
  std::map<ObjectId, StructureElement> elements_;
  std::map<ObjectId, int> redisplays_;
  std::map<ObjectId, int> reformats_;
};

}  // namespace tlhost
