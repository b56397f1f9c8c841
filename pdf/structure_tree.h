// The PDF's structure tree as the plug-in walks it: elements, their kids, types, first pages and
// identifiers. Every answer comes through the library's guard, so a damaged tree gives empty
// answers (no kid, type kNoAtom, page -1) rather than an error. Structure elements belong to
// the open PDF, which outlives the tree; the tree owns nothing that needs releasing.
#pragma once

#include <cstdint>
#include <string>

#include "ondrelkit/ondrelkit.h"

namespace osprevan::pdf {

class StructureTree {
 public:
  explicit StructureTree(const OkDoc* pdf);

  int32_t PageCount() const;
  // The first kid of the structure root: the document's or the book's element; null when none.
  const OkStructElem* Top() const;
  // At least 0; 0 for a null element.
  int32_t KidCount(const OkStructElem* element) const;
  // Null for marked content, object references and kids that cannot be read.
  const OkStructElem* Kid(const OkStructElem* element, int32_t index) const;
  const OkStructElem* Parent(const OkStructElem* element) const;
  ondrelkit::PdfAtom Type(const OkStructElem* element) const;
  // Whether the element's own type is `name`; false for an unreadable type.
  bool HasType(const OkStructElem* element, const char* name) const;
  // The first page with content of the element, or -1 when it has none or it cannot be told.
  int32_t FirstPage(const OkStructElem* element) const;
  // The element's /ID text, at most 1023 bytes; empty when it has none.
  std::string Identifier(const OkStructElem* element) const;

 private:
  const OkDoc* pdf_;
};

}  // namespace osprevan::pdf
