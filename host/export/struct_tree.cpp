#include "host/export/struct_tree.h"

#include <set>
#include <utility>

namespace tlhost::pdfexport {

int StructTree::AddNode(int parent, std::string type, std::string id) {
  const int index = static_cast<int>(nodes_.size());
  nodes_.push_back({std::move(type), std::move(id), parent, {}});
  if (parent >= 0) nodes_[parent].kids.push_back({index, {}});
  return index;
}

ContentSlot StructTree::AddSlot(int node) {
  nodes_[node].kids.push_back({-1, {}});
  return {node, static_cast<int>(nodes_[node].kids.size()) - 1};
}

void StructTree::MapRole(const std::string& type, const std::string& standard) {
  if (type == standard || IsStandardType(type)) return;
  roleMap_.emplace(type, standard);
}

std::vector<int> StructTree::roots() const {
  std::vector<int> out;
  for (size_t i = 0; i < nodes_.size(); ++i) {
    if (nodes_[i].parent < 0) out.push_back(static_cast<int>(i));
  }
  return out;
}

bool IsStandardType(const std::string& type) {
  static const std::set<std::string> kStandard = {
      "Document", "Part",    "Art",   "Sect",      "Div",     "BlockQuote", "Caption",
      "TOC",      "TOCI",    "Index", "NonStruct", "Private", "P",          "H",
      "H1",       "H2",      "H3",    "H4",        "H5",      "H6",         "L",
      "LI",       "Lbl",     "LBody", "Table",     "TR",      "TH",         "TD",
      "THead",    "TBody",   "TFoot", "Span",      "Quote",   "Note",       "Reference",
      "BibEntry", "Code",    "Link",  "Annot",     "Ruby",    "RB",         "RT",
      "RP",       "Warichu", "WT",    "WP",        "Figure",  "Formula",    "Form"};
  return kStandard.count(type) > 0;
}

}  // namespace tlhost::pdfexport
