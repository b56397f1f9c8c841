#include "pdf/pdf_parts.h"

#include "pdf/library_handles.h"
#include "pdf/structure_tree.h"

namespace osprevan::pdf {

ReviewPart WholePdfPart(const OpenedPdf& pdf) {
  return {kWholePdf, 0, StructureTree(LibraryDocument(pdf)).PageCount() - 1};
}

BookComponents ReadBookComponents(const OpenedPdf& pdf) {
  const StructureTree tree(LibraryDocument(pdf));
  BookComponents book;
  book.pageCount = tree.PageCount();
  const OkStructElem* top = tree.Top();
  const int32_t count = tree.KidCount(top);
  book.kids.reserve(static_cast<size_t>(count));
  for (int32_t k = 0; k < count; ++k) {
    const OkStructElem* kid = tree.Kid(top, k);
    BookComponent& component = book.kids.emplace_back();
    component.hasKids = tree.KidCount(kid) != 0;
    if (!component.hasKids) continue;
    component.firstPage = tree.FirstPage(kid);
    component.isDocument = tree.HasType(kid, "Document");
  }
  return book;
}

}  // namespace osprevan::pdf
