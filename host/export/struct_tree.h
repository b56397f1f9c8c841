// The logical structure of an exported PDF as the export builds it: elements with their own
// type names and identifiers, in tree order, and the role map. Page content is tied to the
// tree through slots that collect marked-content references while the pages are drawn.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tlhost::pdfexport {

// One marked-content sequence of a page.
struct MarkedRef {
  int page = 0;
  int mcid = 0;
};

// A kid of an element: another element, or a run of marked content.
struct StructKid {
  int node = -1;  // a child element; -1 for marked content
  std::vector<MarkedRef> marks;
};

struct StructNode {
  std::string type;  // own type name, before the role map
  std::string id;    // the /ID text; empty for none
  int parent = -1;   // -1 under the structure tree root
  std::vector<StructKid> kids;
};

// Where drawn text goes: the marked-content kid `kid` of element `node`.
struct ContentSlot {
  int node = -1;
  int kid = -1;
};

class StructTree {
 public:
  int AddNode(int parent, std::string type, std::string id);
  ContentSlot AddSlot(int node);
  // Maps `type` to `standard` unless it is a standard type itself or is mapped already.
  void MapRole(const std::string& type, const std::string& standard);

  const std::vector<StructNode>& nodes() const { return nodes_; }
  std::vector<StructNode>& nodes() { return nodes_; }
  const std::map<std::string, std::string>& roleMap() const { return roleMap_; }
  std::vector<int> roots() const;

 private:
  std::vector<StructNode> nodes_;
  std::map<std::string, std::string> roleMap_;
};

bool IsStandardType(const std::string& type);

}  // namespace tlhost::pdfexport
