// The engine's bookkeeping: ids, open documents and books, loading, saving and closing.

#include "host/engine/engine.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "host/engine/file_access.h"
#include "host/engine/file_format.h"
#include "host/engine/file_replace.h"

namespace tlhost {

using namespace tolvane;

namespace {

// Ids are never given twice, also not after the object is gone; the serial space is 24 bits.
constexpr uint32_t kLastSerial = 0xFFFFFFu;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool IsBookPath(const std::string& path) {
  const std::string lower = Lower(path);
  return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".tlb") == 0;
}

// The colours every new document has; the codes are this host's reserved colours.
const std::pair<const char*, int32_t> kReservedColours[] = {
    {"Black", 1}, {"White", 2}, {"Yellow", 3}, {"Red", 4},
    {"Green", 5}, {"Blue", 6},  {"Cyan", 7},   {"Magenta", 8}};

// The whole file in one string of its size, so that its text is held once while it is read.
std::string ReadAll(std::ifstream& file, const std::string& path) {
  std::string text;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error) text.reserve(size);
  char buffer[1 << 16];
  while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
    text.append(buffer, static_cast<size_t>(file.gcount()));
  }
  return text;
}

}  // namespace

Engine::Engine() = default;
Engine::~Engine() = default;

ObjectId Engine::NewId(uint32_t kind) {
  if (serial_ >= kLastSerial) return 0;
  return MakeId(kind, ++serial_);
}

uint32_t Engine::objectIdsLeft() const {
  return kLastSerial - serial_;
}

Document* Engine::FindDocument(ObjectId id) {
  auto found = documents_.find(id);
  return found == documents_.end() ? nullptr : found->second.get();
}

Book* Engine::FindBook(ObjectId id) {
  auto found = books_.find(id);
  return found == books_.end() ? nullptr : found->second.get();
}

const Document* Engine::document(ObjectId id) const {
  auto found = documents_.find(id);
  return found == documents_.end() ? nullptr : found->second.get();
}

const Book* Engine::book(ObjectId id) const {
  auto found = books_.find(id);
  return found == books_.end() ? nullptr : found->second.get();
}

std::vector<ObjectId> Engine::openDocuments() const {
  std::vector<ObjectId> out;
  for (ObjectId id : openOrder_) {
    if (KindOf(id) == KIND_DOCUMENT) out.push_back(id);
  }
  return out;
}

std::vector<ObjectId> Engine::openBooks() const {
  std::vector<ObjectId> out;
  for (ObjectId id : openOrder_) {
    if (KindOf(id) == KIND_BOOK) out.push_back(id);
  }
  return out;
}

ObjectId Engine::NextOpen(ObjectId id) const {
  auto at = std::find(openOrder_.begin(), openOrder_.end(), id);
  if (at == openOrder_.end()) return 0;
  for (++at; at != openOrder_.end(); ++at) {
    if (KindOf(*at) == KindOf(id)) return *at;
  }
  return 0;
}

void Engine::RegisterAll(const Document& d) {
  auto all = [&](const auto& objects) {
    for (const auto& entry : objects) Register(d.id, entry.first);
  };
  Register(d.id, d.id);
  all(d.colours);
  all(d.conditions);
  all(d.markerTypes);
  all(d.structure.definitions);
  all(d.structure.elements);
  all(d.pages);
  all(d.frames);
  all(d.flows);
  all(d.paragraphs);
  all(d.markers);
  all(d.tables);
  all(d.rows);
  all(d.cells);
  all(d.footnotes);
  all(d.anchoredFrames);
  all(d.xrefs);
}

void Engine::RegisterAll(const Book& b) {
  Register(b.id, b.id);
  for (const auto& entry : b.componentsById) Register(b.id, entry.first);
  for (const auto& entry : b.structure.definitions) Register(b.id, entry.first);
  for (const auto& entry : b.structure.elements) Register(b.id, entry.first);
}

void Engine::Forget(ObjectId owner) {
  for (auto it = owner_.begin(); it != owner_.end();) {
    it = it->second == owner ? owner_.erase(it) : std::next(it);
  }
}

ObjectId Engine::AddOpen(std::unique_ptr<Document> d) {
  const ObjectId id = d->id;
  RegisterAll(*d);
  documents_[id] = std::move(d);
  openOrder_.push_back(id);
  return id;
}

ObjectId Engine::AddOpen(std::unique_ptr<Book> b) {
  const ObjectId id = b->id;
  RegisterAll(*b);
  books_[id] = std::move(b);
  openOrder_.push_back(id);
  return id;
}

ObjectId Engine::NewDocument(const std::string& path) {
  auto d = std::make_unique<Document>();
  d->id = NewId(KIND_DOCUMENT);
  if (!d->id) return 0;
  d->path = path;
  for (const auto& [name, code] : kReservedColours) {
    Colour c{NewId(KIND_COLOUR), name, code};
    d->colourOrder.push_back(c.id);
    d->colours[c.id] = c;
  }
  MarkerType comment{NewId(KIND_MARKER_TYPE), "Comment"};
  d->markerTypeOrder.push_back(comment.id);
  d->markerTypes[comment.id] = comment;
  Page page{NewId(KIND_BODY_PAGE), "1"};
  d->pageOrder.push_back(page.id);
  d->pages[page.id] = page;
  Flow flow;
  flow.id = NewId(KIND_FLOW);
  flow.name = std::string("A");  // a literal assigned here draws a false -Wrestrict from GCC 12
  TextFrame frame{NewId(KIND_TEXT_FRAME), flow.id, page.id};
  flow.firstFrame = frame.id;
  d->frames[frame.id] = frame;
  Paragraph p;
  p.id = NewId(KIND_PARAGRAPH);
  p.unique = 1;
  d->nextUnique = 2;
  p.owner = flow.id;
  flow.paragraphs.push_back(p.id);
  d->paragraphs[p.id] = p;
  d->flowOrder.push_back(flow.id);
  d->flows[flow.id] = flow;
  d->mainFlow = flow.id;
  return AddOpen(std::move(d));
}

ObjectId Engine::NewBook(const std::string& path) {
  auto b = std::make_unique<Book>();
  b->id = NewId(KIND_BOOK);
  if (!b->id) return 0;
  b->path = path;
  return AddOpen(std::move(b));
}

ObjectId Engine::SetStructureRoot(ObjectId target, const std::string& definitionName,
                                  std::vector<Attribute> attributes,
                                  std::vector<Attribute> definitionDefaults) {
  Document* d = FindDocument(target);
  Book* b = FindBook(target);
  if (!d && !b) return 0;
  Structure& s = d ? d->structure : b->structure;
  ObjectId definition = 0;
  if (const ElementDefinition* found = s.FindDefinition(definitionName)) {
    definition = found->id;
    if (!definitionDefaults.empty()) s.definitions[definition].defaults = definitionDefaults;
  } else {
    definition = NewId(KIND_ELEMENT_DEF);
    s.definitions[definition] = {definition, definitionName, std::move(definitionDefaults)};
    s.definitionOrder.push_back(definition);
    Register(target, definition);
  }
  StructureElement element;
  element.id = NewId(KIND_ELEMENT);
  element.definition = definition;
  element.attributes = std::move(attributes);
  s.elements[element.id] = element;
  Register(target, element.id);
  if (d) {
    d->flows[d->mainFlow].highestElement = element.id;
  } else {
    b->highestElement = element.id;
  }
  return element.id;
}

int32_t Engine::LoadDocumentText(std::string text, const std::string& path, ObjectId& out) {
  out = 0;
  auto d = std::make_unique<Document>();
  d->id = NewId(KIND_DOCUMENT);
  d->path = path;
  FormatFault fault;
  const int32_t e = ReadDocument(
      std::move(text), [this](uint32_t kind) { return NewId(kind); }, *d, fault);
  if (e) {
    lastProblem_ = ProblemOf(FileCause::Malformed, path);
    lastProblem_.format = std::move(fault);
    return e;
  }
  out = AddOpen(std::move(d));
  return ERR_NONE;
}

int32_t Engine::LoadFile(const std::string& path, ObjectId& out) {
  out = 0;
  std::unique_ptr<DocumentLock> lock;
  if (session_.lockFiles) {
    FileProblem problem;
    lock = DocumentLock::Acquire(path, *session_.lockFiles, problem);
    if (problem) {
      lastProblem_ = std::move(problem);
      return ERR_BUSY;
    }
  }
  const std::optional<FileStamp> stamp = StampOf(path);
  const int32_t e = ReadFile(path, out);
  if (e != ERR_NONE) return e;
  if (stamp) readStamps_[out] = *stamp;
  if (lock) locks_[out] = std::move(lock);
  return ERR_NONE;
}

int32_t Engine::ReadFile(const std::string& path, ObjectId& out) {
  std::ifstream file(path, std::ios::binary);
  std::error_code error;
  if (!file || std::filesystem::is_directory(path, error)) {
    const FileCause cause = ReadCause(path);
    lastProblem_ = ProblemOf(cause == FileCause::None ? FileCause::CannotBeRead : cause, path);
    return ERR_FILE_OPEN;
  }
  std::string text = ReadAll(file, path);
  if (!IsBookPath(path)) {
    const int32_t e = LoadDocumentText(std::move(text), path, out);
    // A file the user may not write opens read-only: no change is made that could not be saved.
    if (e == ERR_NONE && session_.protectUnwritableFiles && !MayWriteFile(path))
      documents_.at(out)->readOnly = true;
    return e;
  }
  auto b = std::make_unique<Book>();
  b->id = NewId(KIND_BOOK);
  b->path = path;
  FormatFault fault;
  const int32_t e = ReadBook(
      std::move(text), [this](uint32_t kind) { return NewId(kind); }, *b, fault);
  if (e) {
    lastProblem_ = ProblemOf(FileCause::Malformed, path);
    lastProblem_.format = std::move(fault);
    return e;
  }
  out = AddOpen(std::move(b));
  return ERR_NONE;
}

int32_t Engine::OpenFile(const std::string& path, const std::vector<PropValue>& params,
                         ObjectId& out, std::vector<PropValue>& returned) {
  returned.clear();
  out = 0;
  lastProblem_ = FileProblem{};
  const int32_t e = OpenNamed(path, params, out, returned);
  if (e) returned.push_back({OPEN_RETURN_ERROR, Value::Int(e)});
  return e;
}

int32_t Engine::OpenNamed(const std::string& path, const std::vector<PropValue>& params,
                          ObjectId& out, std::vector<PropValue>& returned) {
  std::string secondName;
  for (const PropValue& p : params) {
    const bool known = p.property == OPEN_ALERT_ANSWERS_PRESET || p.property == OPEN_SECOND_NAME ||
                       p.property == OPEN_MAKE_VISIBLE;
    const bool typed =
        p.property == OPEN_SECOND_NAME ? p.value.type == VT_STRING : p.value.type == VT_INT;
    if (known && !typed) return ERR_BAD_VALUE;
    if (p.property == OPEN_SECOND_NAME) secondName = p.value.s;
  }
  if (path.empty()) return ERR_BAD_NAME;
  if (FindOpen(path, out)) {
    returned.push_back({OPEN_RETURN_ALREADY_OPEN, Value::Int(1)});
    return ERR_NONE;
  }
  // A file that is gone may be found under its second name, beside where it was named.
  std::error_code error;
  if (!secondName.empty() && !std::filesystem::exists(path, error)) {
    const std::filesystem::path second(secondName);
    const std::string alternative =
        second.is_absolute()
            ? secondName
            : (std::filesystem::path(path).parent_path() / second).lexically_normal().string();
    if (FindOpen(alternative, out)) {
      returned.push_back({OPEN_RETURN_ALREADY_OPEN, Value::Int(1)});
      return ERR_NONE;
    }
    if (std::filesystem::exists(alternative, error)) return LoadFile(alternative, out);
    lastProblem_ = ProblemOf(FileCause::SecondNameUnreadable, path);
    lastProblem_.other = alternative;
    return ERR_FILE_OPEN;
  }
  return LoadFile(path, out);
}

bool Engine::FindOpen(const std::string& path, ObjectId& out) const {
  // Names are compared without regard to letter case.
  for (ObjectId id : openOrder_) {
    const std::string& name =
        KindOf(id) == KIND_BOOK ? books_.at(id)->path : documents_.at(id)->path;
    if (Lower(name) == Lower(path)) {
      out = id;
      return true;
    }
  }
  return false;
}

int32_t Engine::Close(ObjectId obj, int32_t flags) {
  Document* d = FindDocument(obj);
  Book* b = FindBook(obj);
  if (!d && !b) return ERR_BAD_OBJECT;
  // No one can be asked about unsaved changes here: without the discard flag they are kept.
  if ((d ? d->modified : b->modified) && !(flags & CLOSE_DISCARD)) return ERR_CANCELLED;
  if (session_.activeDocument == obj) session_.activeDocument = 0;
  if (session_.activeBook == obj) session_.activeBook = 0;
  Forget(obj);
  locks_.erase(obj);
  readStamps_.erase(obj);
  openOrder_.erase(std::find(openOrder_.begin(), openOrder_.end(), obj));
  documents_.erase(obj);
  books_.erase(obj);
  redisplays_.erase(obj);
  reformats_.erase(obj);
  return ERR_NONE;
}

int32_t Engine::Save(ObjectId obj, const std::string& path) {
  Document* d = FindDocument(obj);
  Book* b = FindBook(obj);
  if (!d && !b) return ERR_BAD_OBJECT;
  lastProblem_ = FileProblem{};
  const std::string target = path.empty() ? (d ? d->path : b->path) : path;
  if (target.empty()) return ERR_BAD_NAME;
  const std::string content = d ? WriteDocument(*d) : WriteBook(*b);
  // Saved over the file it was read from, it must still be that file.
  std::optional<FileStamp> readAs;
  const auto read = readStamps_.find(obj);
  const std::optional<FileStamp> now = StampOf(target);
  if (read != readStamps_.end() && now && now->device == read->second.device &&
      now->inode == read->second.inode)
    readAs = read->second;
  if (read != readStamps_.end() && target == (d ? d->path : b->path)) readAs = read->second;
  if (int32_t e = WriteFileReplacing(target, content, lastProblem_, nullptr, readAs)) return e;
  locks_.erase(obj);
  if (const std::optional<FileStamp> saved = StampOf(target)) readStamps_[obj] = *saved;
  if (d) {
    d->path = target;
    d->modified = false;
  } else {
    b->path = target;
    b->modified = false;
  }
  return ERR_NONE;
}

int32_t Engine::Redisplay(ObjectId doc) {
  if (!FindDocument(doc) && !FindBook(doc)) return ERR_BAD_DOCUMENT;
  ++redisplays_[doc];
  return ERR_NONE;
}

int32_t Engine::Reformat(ObjectId doc) {
  if (!FindDocument(doc) && !FindBook(doc)) return ERR_BAD_DOCUMENT;
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

std::string Book::ComponentPath(const BookComponent& component) const {
  const std::filesystem::path file(component.fileName);
  if (file.empty() || file.is_absolute()) return component.fileName;
  return (std::filesystem::path(path).parent_path() / file).lexically_normal().string();
}

}  // namespace tlhost
