#include "host/export/element_names.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "host/export/struct_tree.h"

namespace tlhost::pdfexport {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

int32_t UniqueAt(const Document& d, const std::vector<ObjectId>& list, int index) {
  if (index < 0 || index >= static_cast<int>(list.size())) return 0;
  const Paragraph* p = Document::Find(d.paragraphs, list[index]);
  return p ? p->unique : 0;
}

}  // namespace

std::string ParagraphIdentifier(const Document& document, ObjectId paragraph) {
  const Paragraph* p = Document::Find(document.paragraphs, paragraph);
  if (!p) return "";
  const std::vector<ObjectId>* list = document.ParagraphList(p->owner);
  const int at = document.IndexInList(paragraph);
  if (!list || at < 0) return "P" + std::to_string(p->unique) + "#0#0#0#0";
  std::string id = "P" + std::to_string(p->unique);
  for (int offset : {-2, -1, 1, 2})
    id += "#" + std::to_string(UniqueAt(document, *list, at + offset));
  return id;
}

std::string ElementIdText(const Document& document, const StructureElement& element) {
  if (!element.uniqueId.empty()) return element.uniqueId;
  for (const Attribute& a : element.attributes) {
    if (Lower(a.name) == "id" && !a.values.empty() && !a.values.front().empty()) {
      return a.values.front();
    }
  }
  return "";
}

std::string OwnTypeName(const std::string& name, const char* suffix) {
  static const std::set<std::string> kWrittenByExport = {
      "Document",  "Book",    "Table",  "TableTitle", "THead",      "TBody",     "TFoot", "TR",
      "TH",        "TD",      "Note",   "Span",       "BlockStart", "BlockEnd",  "Part",  "Art",
      "Sect",      "Div",     "Figure", "L",          "Lbl",        "LBody",     "Link",  "Annot",
      "NonStruct", "Private", "TOC",    "Form",       "Formula",    "Reference", "Quote", "Code"};
  if (name.empty()) return "P";
  const std::string lower = Lower(name);
  if (kWrittenByExport.count(name) || StartsWith(lower, "article_") ||
      StartsWith(lower, "section_")) {
    return name + suffix;
  }
  return name;
}

std::string ParagraphStandardType(const std::string& name) {
  const std::string lower = Lower(name);
  for (const char* standard : {"P", "H", "LI", "Caption", "TOCI", "Index"}) {
    if (name == standard) return name;
  }
  // Heading levels: "Heading2", "H3", "heading 4".
  for (const char* prefix : {"heading", "h"}) {
    if (!StartsWith(lower, prefix)) continue;
    std::string rest = lower.substr(std::string(prefix).size());
    rest.erase(std::remove(rest.begin(), rest.end(), ' '), rest.end());
    if (!rest.empty() && rest.size() <= 2 &&
        std::all_of(rest.begin(), rest.end(), [](char c) { return std::isdigit(c); })) {
      const int level = std::clamp(std::stoi(rest), 1, 6);
      return "H" + std::to_string(level);
    }
    if (rest.empty() && std::string(prefix) == "heading") return "H1";
  }
  if (Contains(lower, "caption") ||
      (Contains(lower, "title") && (Contains(lower, "table") || Contains(lower, "figure")))) {
    return "Caption";
  }
  if (Contains(lower, "title")) return "H1";
  if (Contains(lower, "list") || Contains(lower, "bullet") || Contains(lower, "numbered") ||
      Contains(lower, "item")) {
    return "LI";
  }
  if (StartsWith(lower, "toc")) return "TOCI";
  if (Contains(lower, "index")) return "Index";
  return "P";
}

bool HasSpecificStandardType(const std::string& name) {
  return ParagraphStandardType(name) != "P";
}

}  // namespace tlhost::pdfexport
