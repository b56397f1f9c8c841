// The element tree of a structured document or book, with element definitions.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "host/engine/value.h"

namespace tlhost {

struct ElementDefinition {
  ObjectId id = 0;
  std::string name;
  std::vector<Attribute> defaults;  // attribute definitions with their default values
};

struct StructureElement {
  ObjectId id = 0;
  ObjectId definition = 0;
  std::vector<Attribute> attributes;
  std::string uniqueId;  // the element's unique-identifier property
  ObjectId parent = 0;
  std::vector<ObjectId> children;
  ObjectId boundObject = 0;  // e.g. a table cell (kind 39)
  bool fileRefMark = false;
  std::string fileRef;
};

struct Structure {
  std::vector<ObjectId> definitionOrder;
  std::map<ObjectId, ElementDefinition> definitions;
  std::map<ObjectId, StructureElement> elements;

  const ElementDefinition* FindDefinition(const std::string& name) const {
    for (ObjectId id : definitionOrder) {
      if (definitions.at(id).name == name) return &definitions.at(id);
    }
    return nullptr;
  }
};

}  // namespace tlhost
