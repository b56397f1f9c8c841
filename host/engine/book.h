// A book: its file, its components in order (containers hold further components) and an
// optional element tree.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/engine/structure.h"

namespace tlhost {

struct BookComponent {
  ObjectId id = 0;
  std::string fileName;  // as written in the book: relative to the book's folder or absolute
  std::string secondName;
  std::string name;  // defaults to the file name without folder
  bool exclude = false;
  bool excludeNested = false;
  bool container = false;
  int32_t type = tolvane::COMP_TYPE_DOCUMENT;
  ObjectId parent = 0;  // the container component, 0 at the top level
  std::vector<ObjectId> children;
};

struct Book {
  ObjectId id = 0;
  std::string path;
  bool modified = false;
  std::vector<ObjectId> components;  // the top level, in book order
  std::map<ObjectId, BookComponent> componentsById;
  Structure structure;
  ObjectId highestElement = 0;

  // The full path of a component's file: relative names are taken from the book's folder.
  std::string ComponentPath(const BookComponent& component) const;
};

}  // namespace tlhost
