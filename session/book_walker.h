// A depth-first walk over a book's components, entering nested books (and the books or maps
// that elements of a document refer to) once each, and closing what it opened on the way out.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "tolvane/numbers.h"

namespace osprevan::session {

class BookWalker {
 public:
  // `root` is a book (or a document, whose highest element the walk starts from).
  explicit BookWalker(tolvane::ObjectId root) : root_(root) {}
  ~BookWalker() { Close(); }
  BookWalker(const BookWalker&) = delete;
  BookWalker& operator=(const BookWalker&) = delete;

  // Each answers the new current entry (a component or an element), 0 at the end.
  tolvane::ObjectId First();
  tolvane::ObjectId Next();         // may descend into the current entry
  tolvane::ObjectId NextSibling();  // never descends into the current entry
  // Closes every container the walk opened and is still inside.
  void Close();

  tolvane::ObjectId current() const { return current_; }
  // The book or document that holds the current entry.
  tolvane::ObjectId parent() const { return parent_; }
  // Inside a book or document reached through the root's components (not just a folder).
  bool InsideNestedContainer() const;
  // Entries not descended into because their container was already being walked.
  int32_t repeats() const { return repeats_; }

 private:
  struct Level {
    tolvane::ObjectId container = 0;  // the book or document entered
    tolvane::ObjectId entry = 0;      // the entry of the level above that led here
    bool openedByWalk = false;
    bool folder = false;  // a container component: the same book, one level down
    std::set<tolvane::ObjectId> seen;
  };

  bool MayDescend(tolvane::ObjectId entry);
  bool IsFolder(tolvane::ObjectId entry) const;
  bool DescendIntoFolder();
  bool OnStack(tolvane::ObjectId container) const;
  // Moves to `next` in the current level; a sibling seen before on this level ends the list.
  void MoveTo(tolvane::ObjectId next);
  tolvane::ObjectId SiblingOf(tolvane::ObjectId entry) const;
  void PopLevel();

  tolvane::ObjectId root_ = 0;
  tolvane::ObjectId current_ = 0;
  tolvane::ObjectId parent_ = 0;
  int32_t repeats_ = 0;
  std::vector<Level> stack_;  // back() is the innermost
  std::set<tolvane::ObjectId> rootSeen_;
};

}  // namespace osprevan::session
