#include "pdf/structure_tree.h"

#include <algorithm>
#include <array>

#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

constexpr size_t kIdentifierCapacity = 1023;

}  // namespace

StructureTree::StructureTree(const OkDoc* pdf) : pdf_(pdf) {}

int32_t StructureTree::PageCount() const {
  const PdfTables& t = Tables();
  if (!pdf_ || !t.document) return 0;
  return std::max(Guarded([&] { return t.document->PdfPageCount(pdf_); }, 0), 0);
}

const OkStructElem* StructureTree::Top() const {
  const PdfTables& t = Tables();
  if (!pdf_ || !t.structRootKid) return nullptr;
  return Guarded([&] { return t.structRootKid(pdf_, 0); }, static_cast<OkStructElem*>(nullptr));
}

int32_t StructureTree::KidCount(const OkStructElem* element) const {
  const PdfTables& t = Tables();
  if (!element || !t.structElemKidCount) return 0;
  return std::max(Guarded([&] { return t.structElemKidCount(element); }, 0), 0);
}

const OkStructElem* StructureTree::Kid(const OkStructElem* element, int32_t index) const {
  const PdfTables& t = Tables();
  if (!element || !t.structElemKid) return nullptr;
  return Guarded([&] { return t.structElemKid(element, index); },
                 static_cast<OkStructElem*>(nullptr));
}

const OkStructElem* StructureTree::Parent(const OkStructElem* element) const {
  const PdfTables& t = Tables();
  if (!element || !t.structElemParent) return nullptr;
  return Guarded([&] { return t.structElemParent(element); }, static_cast<OkStructElem*>(nullptr));
}

ondrelkit::PdfAtom StructureTree::Type(const OkStructElem* element) const {
  const PdfTables& t = Tables();
  if (!element || !t.structElemType) return ondrelkit::kNoAtom;
  return Guarded([&] { return t.structElemType(element); }, ondrelkit::kNoAtom);
}

bool StructureTree::HasType(const OkStructElem* element, const char* name) const {
  const PdfTables& t = Tables();
  const ondrelkit::PdfAtom type = Type(element);
  if (type == ondrelkit::kNoAtom || !t.core) return false;
  return Guarded([&] { return type == t.core->PdfAtom(name); }, false);
}

int32_t StructureTree::FirstPage(const OkStructElem* element) const {
  const PdfTables& t = Tables();
  if (!element || !t.structElemFirstPage) return -1;
  return Guarded([&] { return t.structElemFirstPage(element); }, -1);
}

std::string StructureTree::Identifier(const OkStructElem* element) const {
  const PdfTables& t = Tables();
  if (!element || !t.structElemId) return {};
  std::array<char, kIdentifierCapacity + 1> buffer{};
  const size_t length =
      Guarded([&] { return t.structElemId(element, buffer.data(), buffer.size()); }, size_t{0});
  return std::string(buffer.data(), std::min(length, kIdentifierCapacity));
}

}  // namespace osprevan::pdf
