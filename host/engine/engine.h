// The stand-in host's document engine: the session, the open documents and books, and the
// host operations on them. Every operation answers 0 or a tolvane::HostError; docs/host-rules.md
// gives the rules of this host where the client interface leaves them open.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/engine/book.h"
#include "host/engine/document.h"
#include "host/engine/document_lock.h"
#include "host/engine/file_problem.h"
#include "host/engine/file_replace.h"
#include "host/engine/session.h"
#include "host/engine/value.h"

namespace tlhost {

class Engine {
 public:
  Engine();
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  Session& session() { return session_; }
  const Session& session() const { return session_; }

  // A new, unsaved document in memory: one body page, the main flow "A" with one empty
  // paragraph, the reserved colours and the marker type "Comment".
  ObjectId NewDocument(const std::string& path);
  ObjectId NewBook(const std::string& path);
  // Gives a document (its main flow) or a book a root element of the given definition.
  ObjectId SetStructureRoot(ObjectId target, const std::string& definitionName,
                            std::vector<Attribute> attributes,
                            std::vector<Attribute> definitionDefaults = {});
  // Loads a document from file text (the file format of docs/file-format.md) under `path`.
  int32_t LoadDocumentText(std::string text, const std::string& path, ObjectId& out);
  // Removes a paragraph from its list with everything anchored in it; the last paragraph of
  // a list cannot be removed.
  int32_t DeleteParagraph(ObjectId doc, ObjectId paragraph);

  // Read access to the model.
  const Document* document(ObjectId id) const;
  const Book* book(ObjectId id) const;
  std::vector<ObjectId> openDocuments() const;
  std::vector<ObjectId> openBooks() const;
  // Why the last load, open or save of a file failed, with its path; no cause when the engine
  // noted none (a failure of the call itself, such as a bad object).
  const FileProblem& lastProblem() const { return lastProblem_; }
  // The same for logs and tests: Diagnostic(lastProblem()).
  std::string lastError() const { return Diagnostic(lastProblem_); }
  // How many more objects this engine can make. Ids are never given twice, so an engine that
  // opens files for a long time runs out of them; a load then fails and names the cause.
  uint32_t objectIdsLeft() const;

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
  int32_t Save(ObjectId obj, const std::string& path);
  int32_t Redisplay(ObjectId doc);
  int32_t Reformat(ObjectId doc);
  int redisplayCount(ObjectId doc) const;
  int reformatCount(ObjectId doc) const;

 private:
  ObjectId NewId(uint32_t kind);
  Document* FindDocument(ObjectId id);
  Book* FindBook(ObjectId id);
  // The document that owns `obj`, checked against the `doc` the caller named (0 = any).
  Document* OwnerDocument(ObjectId doc, ObjectId obj);
  Document* TextDocument(ObjectId doc);
  void Register(ObjectId owner, ObjectId obj) { owner_[obj] = owner; }
  void RegisterAll(const Document& d);
  void RegisterAll(const Book& b);
  void Forget(ObjectId owner);
  ObjectId AddOpen(std::unique_ptr<Document> d);
  ObjectId AddOpen(std::unique_ptr<Book> b);
  int32_t LoadFile(const std::string& path, ObjectId& out);
  // Reads the file `path` as a document or book, without locking it.
  int32_t ReadFile(const std::string& path, ObjectId& out);
  // OpenFile without its error return parameter.
  int32_t OpenNamed(const std::string& path, const std::vector<PropValue>& params, ObjectId& out,
                    std::vector<PropValue>& returned);
  bool FindOpen(const std::string& path, ObjectId& out) const;

  int32_t GetSessionProp(int32_t prop, Value& out) const;
  int32_t SetSessionProp(int32_t prop, const Value& value);
  int32_t GetDocumentProp(const Document& d, ObjectId obj, int32_t prop, Value& out) const;
  int32_t SetDocumentProp(Document& d, ObjectId obj, int32_t prop, const Value& value);
  int32_t GetBookProp(const Book& b, ObjectId obj, int32_t prop, Value& out) const;
  int32_t SetBookProp(Book& b, ObjectId obj, int32_t prop, const Value& value);
  int32_t SetSelection(Document& d, TTextRange range);
  ObjectId NextOpen(ObjectId id) const;

  uint32_t serial_ = 0;
  Session session_;
  std::vector<ObjectId> openOrder_;
  std::map<ObjectId, std::unique_ptr<Document>> documents_;
  std::map<ObjectId, std::unique_ptr<Book>> books_;
  std::map<ObjectId, ObjectId> owner_;  // every object to the document or book holding it
  std::map<ObjectId, int> redisplays_;
  std::map<ObjectId, int> reformats_;
  FileProblem lastProblem_;
  // Of each document or book read from a file: the file as it was read, so that a save does
  // not overwrite another program's save, and the lock held on it until it is saved.
  std::map<ObjectId, FileStamp> readStamps_;
  std::map<ObjectId, std::unique_ptr<DocumentLock>> locks_;
};

}  // namespace tlhost
