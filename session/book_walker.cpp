#include "session/book_walker.h"

#include <string>

#include "hostlink/document_structure.h"
#include "hostlink/host_ops.h"
#include "session/component_document.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"

namespace osprevan::session {
namespace {

using tolvane::KindOf;
using tolvane::ObjectId;

struct EntryFile {
  std::string name;
  std::string secondName;
};

// The container's own file, for the console line of a failed close.
std::string ContainerName(ObjectId container) {
  const int32_t property =
      KindOf(container) == tolvane::KIND_BOOK ? tolvane::P_BOOK_NAME : tolvane::P_DOC_NAME;
  return HostGetString(container, container, property);
}

// An element's reference is taken from the folder of the document that holds it.
std::string ResolvedReference(ObjectId document, const std::string& reference) {
  if (reference.empty() || reference.front() == '/') return reference;
  const std::string holder = ContainerName(document);
  const size_t slash = holder.find_last_of('/');
  return slash == std::string::npos ? reference : holder.substr(0, slash + 1) + reference;
}

EntryFile FileOf(ObjectId parent, ObjectId entry) {
  switch (KindOf(entry)) {
    case tolvane::KIND_BOOK_COMPONENT:
      return {HostGetString(parent, entry, tolvane::P_COMP_FILE_NAME),
              HostGetString(parent, entry, tolvane::P_COMP_SECOND_NAME)};
    case tolvane::KIND_ELEMENT:
      return {ResolvedReference(parent, HostGetString(parent, entry, tolvane::P_ELEM_FILE_REF)),
              {}};
    default:
      return {};
  }
}

ObjectId FirstEntryOf(ObjectId container) {
  switch (KindOf(container)) {
    case tolvane::KIND_BOOK:
      return HostGetId(container, container, tolvane::P_BOOK_FIRST_COMPONENT);
    case tolvane::KIND_DOCUMENT:
      return hostlink::HighestElement(container);
    default:
      return 0;
  }
}

struct OpenedFile {
  ObjectId id = 0;
  bool openedHere = false;
};

// An open file is used as it is; only what this call opened is the walk's to close.
OpenedFile FindOrOpen(const EntryFile& file) {
  if (file.name.empty()) return {};
  if (const ObjectId open = FindOpenFile(file.name)) return {open, false};
  const ObjectId opened = OpenComponentDocument(file.name, file.secondName);
  return {opened, opened != 0};
}

// A failed close is no reason to stop the walk; it is only noted on the console.
void CloseOpened(ObjectId container) {
  const std::string name = ContainerName(container);
  if (HostClose(container, tolvane::CLOSE_DISCARD) != 0) {
    HostPrintConsole("\n" + support::UiString(support::MSG_CLOSE_FAILED) + " " + name);
  }
}

constexpr int32_t kDescendTypes =
    tolvane::COMP_TYPE_BOOK | tolvane::COMP_TYPE_STRUCTURE_MAP | tolvane::COMP_TYPE_NESTED_MAP;

}  // namespace

ObjectId BookWalker::First() {
  Close();
  rootSeen_.clear();
  current_ = FirstEntryOf(root_);
  parent_ = current_ != 0 ? root_ : 0;
  if (current_ != 0) rootSeen_.insert(current_);
  return current_;
}

ObjectId BookWalker::Next() {
  if (current_ == 0) return First();
  if (!MayDescend(current_)) return NextSibling();
  if (IsFolder(current_)) return DescendIntoFolder() ? current_ : NextSibling();

  const OpenedFile file = FindOrOpen(FileOf(parent_, current_));
  if (file.id == 0) return NextSibling();
  // Guard: a container already being walked (the root included) is not entered again, so a
  // book that holds itself through a nested book ends.
  if (OnStack(file.id)) {
    ++repeats_;
  } else if (const ObjectId first = FirstEntryOf(file.id)) {
    stack_.push_back(Level{file.id, current_, file.openedHere, false, {first}});
    parent_ = file.id;
    current_ = first;
    return current_;
  }
  if (file.openedHere) CloseOpened(file.id);
  return NextSibling();
}

ObjectId BookWalker::NextSibling() {
  // Guard: an entry of any other kind has no siblings the walk can follow.
  const uint32_t kind = KindOf(current_);
  if (kind == tolvane::KIND_BOOK_COMPONENT || kind == tolvane::KIND_ELEMENT) {
    MoveTo(SiblingOf(current_));
  } else {
    current_ = 0;
  }
  while (current_ == 0 && !stack_.empty()) {
    const ObjectId entry = stack_.back().entry;
    PopLevel();
    parent_ = stack_.empty() ? root_ : stack_.back().container;
    MoveTo(SiblingOf(entry));
  }
  return current_;
}

void BookWalker::Close() {
  while (!stack_.empty()) PopLevel();
}

bool BookWalker::InsideNestedContainer() const {
  for (const Level& level : stack_) {
    if (!level.folder) return true;
  }
  return false;
}

// Within a book: containers, nested books and maps. Within a document: an element whose file
// is a book or a map, found open or opened just for this test.
bool BookWalker::MayDescend(ObjectId entry) {
  if (KindOf(entry) == tolvane::KIND_BOOK_COMPONENT) {
    return HostGetInt(parent_, entry, tolvane::P_COMP_IS_CONTAINER) != 0 ||
           (HostGetInt(parent_, entry, tolvane::P_COMP_TYPE) & kDescendTypes) != 0;
  }
  if (KindOf(entry) != tolvane::KIND_ELEMENT) return false;
  if (HostGetInt(parent_, entry, tolvane::P_ELEM_FILE_REF_MARK) == 0) return false;
  const OpenedFile file = FindOrOpen(FileOf(parent_, entry));
  if (file.id == 0) return false;
  const int32_t flags = HostGetInt(file.id, file.id, tolvane::P_DOC_TYPE_FLAGS);
  if (file.openedHere) CloseOpened(file.id);
  return (flags & (4 | 128)) != 0;
}

// A container component holds its components itself, with no file of its own.
bool BookWalker::IsFolder(ObjectId entry) const {
  return KindOf(entry) == tolvane::KIND_BOOK_COMPONENT &&
         HostGetInt(parent_, entry, tolvane::P_COMP_IS_CONTAINER) != 0;
}

bool BookWalker::DescendIntoFolder() {
  const ObjectId first = HostGetId(parent_, current_, tolvane::P_COMP_FIRST_CHILD);
  if (first == 0) return false;
  stack_.push_back(Level{parent_, current_, false, true, {first}});
  current_ = first;
  return true;
}

bool BookWalker::OnStack(ObjectId container) const {
  if (container == root_) return true;
  for (const Level& level : stack_) {
    if (!level.folder && level.container == container) return true;
  }
  return false;
}

void BookWalker::MoveTo(ObjectId next) {
  std::set<ObjectId>& seen = stack_.empty() ? rootSeen_ : stack_.back().seen;
  // Guard: a sibling list that runs back into itself ends where it repeats.
  current_ = next != 0 && seen.insert(next).second ? next : 0;
}

ObjectId BookWalker::SiblingOf(ObjectId entry) const {
  switch (KindOf(entry)) {
    case tolvane::KIND_BOOK_COMPONENT:
      return HostGetId(parent_, entry, tolvane::P_COMP_NEXT);
    case tolvane::KIND_ELEMENT:
      return HostGetId(parent_, entry, tolvane::P_ELEM_NEXT_SIBLING);
    default:
      return 0;
  }
}

void BookWalker::PopLevel() {
  const Level level = std::move(stack_.back());
  stack_.pop_back();
  if (level.openedByWalk) CloseOpened(level.container);
}

}  // namespace osprevan::session
