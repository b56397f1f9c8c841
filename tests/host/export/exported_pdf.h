// An exported PDF read back with the PDF library: its structure elements in tree order with
// their types, identifiers, pages and the text of their marked content, its information
// entries, page rotations and character boxes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "library_session.h"

namespace tlhost::pdfexport::testing {

struct ReadElement {
  std::string type;    // own type
  std::string mapped;  // after the role map
  std::string id;
  int parent = -1;
  std::vector<int> kids;
  int firstPage = -1;
  std::vector<int> pages;  // pages with text owned by this paragraph-level element
  std::string text;        // text of the marked content it owns (paragraph-level elements)
};

struct ReadChar {
  int page = 0;
  std::string text;
  float box[4] = {};  // left, bottom, right, top in points, y upward
};

class ExportedPdf {
 public:
  // Reads everything at once; the library is started and shut down again inside.
  explicit ExportedPdf(const std::string& path);

  const ReadElement* ById(const std::string& id) const;
  std::vector<const ReadElement*> OfType(const std::string& type) const;

  std::vector<ReadElement> elements;
  std::string creator;
  std::string creationDate;
  int pageCount = 0;
  std::vector<int> rotations;
  std::map<std::string, std::string> roleMap;  // for the types present in the tree
  int unownedTextPieces = 0;                   // tagged text whose element climb found no paragraph
  std::vector<ReadChar> chars;                 // characters of paragraph text, in content order

 private:
  void ReadTree(OkStructElem* element, int parent, const OkObj* roleMap);
  void ReadPage(int page);

  std::optional<ondrelkit::testing::LibrarySession> session_;
  const ondrelkit::testing::LibrarySession* lib = nullptr;
  OkDoc* doc_ = nullptr;
  std::map<const OkStructElem*, int> index_;
  const OkObj* roleMapObject_ = nullptr;
};

}  // namespace tlhost::pdfexport::testing
