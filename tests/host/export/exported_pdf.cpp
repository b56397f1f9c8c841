#include "exported_pdf.h"

#include <algorithm>
#include <set>

namespace tlhost::pdfexport::testing {
namespace {

bool IsParagraphType(const std::string& mapped) {
  static const std::set<std::string> kTypes = {"P",  "LI", "ListItem", "Caption", "Index", "H",
                                               "H1", "H2", "H3",       "H4",      "H5",    "H6",
                                               "H7", "H8", "H9",       "TOCI"};
  return kTypes.count(mapped) > 0;
}

}  // namespace

ExportedPdf::ExportedPdf(const std::string& path) {
  session_.emplace();
  lib = &*session_;
  doc_ = lib->Open(path);
  pageCount = lib->docs->PdfPageCount(doc_);
  for (auto [key, value] : {std::pair{"Creator", &creator}, {"CreationDate", &creationDate}}) {
    OkText* text = lib->docs->PdfDocInfoText(doc_, key);
    *value = lib->Utf8(text);
    lib->core->PdfRelease(text);
  }
  if (lib->docs->PdfStructRoot(doc_)) {
    roleMapObject_ = PdfStructRoleMap(doc_);
    // The library raises its error for a kid index beyond the last.
    for (int i = 0;; ++i) {
      OkStructElem* kid = nullptr;
      try {
        kid = PdfStructRootKid(doc_, i);
      } catch (const ondrelkit::PdfError&) {
        break;
      }
      if (!kid) break;
      ReadTree(kid, -1, roleMapObject_);
    }
  }
  for (int page = 0; page < pageCount; ++page) ReadPage(page);
  if (roleMapObject_) lib->core->PdfRelease(const_cast<OkObj*>(roleMapObject_));
  lib->docs->PdfCloseDoc(doc_);
  index_.clear();
  lib = nullptr;
  session_.reset();
}

void ExportedPdf::ReadTree(OkStructElem* element, int parent, const OkObj* roleMap) {
  ReadElement read;
  const ondrelkit::PdfAtom type = PdfStructElemType(element);
  read.type = lib->core->PdfAtomName(type);
  read.mapped = roleMap ? lib->core->PdfAtomName(PdfRoleMapDirect(roleMap, type)) : read.type;
  if (read.mapped != read.type) this->roleMap[read.type] = read.mapped;
  char id[1024];
  if (PdfStructElemId(element, id, sizeof id) > 0) read.id = id;
  read.parent = parent;
  read.firstPage = PdfStructElemFirstPage(element);
  const int index = static_cast<int>(elements.size());
  elements.push_back(read);
  index_[element] = index;
  if (parent >= 0) elements[parent].kids.push_back(index);
  for (int k = 0; k < PdfStructElemKidCount(element); ++k) {
    if (OkStructElem* kid = PdfStructElemKid(element, k)) ReadTree(kid, index, roleMap);
  }
}

void ExportedPdf::ReadPage(int pageIndex) {
  OkPage* page = lib->pages->PdfAcquirePage(doc_, pageIndex);
  rotations.push_back(lib->pages->PdfPageRotation(page));
  OkObj* pageObject = lib->pages->PdfPageObject(page);
  for (const ondrelkit::testing::TextPiece& piece : lib->PageText(page)) {
    if (!piece.marked) continue;
    int found = -1;
    for (OkStructElem* owner = PdfMarkedContentParent(pageObject, piece.mcid); owner;
         owner = PdfStructElemParent(owner)) {
      auto known = index_.find(owner);
      if (known != index_.end() && IsParagraphType(elements[known->second].mapped)) {
        found = known->second;
        break;
      }
    }
    if (found < 0) {
      ++unownedTextPieces;
      continue;
    }
    ReadElement& e = elements[found];
    if (std::find(e.pages.begin(), e.pages.end(), pageIndex) == e.pages.end()) {
      e.pages.push_back(pageIndex);
    }
    for (const ondrelkit::testing::TextPiece::Char& c : piece.chars) {
      ReadChar& read = chars.emplace_back();
      read.page = pageIndex;
      read.text = lib->Utf8(c.unicode);
      std::copy(c.box, c.box + 4, read.box);
      e.text += read.text;
    }
  }
  lib->core->PdfRelease(pageObject);
  lib->pages->PdfReleasePage(page);
}

const ReadElement* ExportedPdf::ById(const std::string& id) const {
  for (const ReadElement& e : elements)
    if (e.id == id) return &e;
  return nullptr;
}

std::vector<const ReadElement*> ExportedPdf::OfType(const std::string& type) const {
  std::vector<const ReadElement*> out;
  for (const ReadElement& e : elements)
    if (e.type == type) out.push_back(&e);
  return out;
}

}  // namespace tlhost::pdfexport::testing
