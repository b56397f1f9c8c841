// Files and documents on Poppler.
#include <memory>

#include "poppler/GlobalParams.h"
#include "poppler/PDFDoc.h"
#include "poppler/XRef.h"
#include "poppler/goo/GooString.h"
#include "src/handles.h"
#include "src/operations.h"
#include "src/page_tree.h"
#include "src/support_utf8.h"

OkDoc::~OkDoc() {
  for (auto& [key, element] : structElems) ondrelkit::Delete(element);
}

namespace ondrelkit {

// The default file system holds nothing; one static object serves every caller.
OkFileSys* DefaultFileSys() {
  RequireInitialised();
  static OkFileSys fileSystem;
  return &fileSystem;
}

OkPath* PathFromText(OkFileSys* fileSystem, const OkText* text) {
  RequireInitialised();
  if (!fileSystem || !text || text->units.empty()) Raise(kErrBadArgument);
  OkPath* path = New<OkPath>();
  path->path = text->units;
  return path;
}

OkDoc* OpenDoc(const OkPath* path, OkFileSys* fileSystem) {
  RequireInitialised();
  if (!path || !fileSystem) Raise(kErrBadArgument);
  auto name = std::make_unique<GooString>(Utf16ToUtf8(path->path));
  auto pdf = std::make_unique<PDFDoc>(std::move(name));
  if (!pdf->isOk()) Raise(pdf->getErrorCode() == errOpenFile ? kErrFileOpen : kErrDamaged);
  OkDoc* document = New<OkDoc>();
  document->pdf = std::move(pdf);
  return document;
}

void CloseDoc(OkDoc* document) {
  RequireInitialised();
  if (!document) Raise(kErrBadArgument);
  Delete(document);
}

int32_t PageCount(const OkDoc* document) {
  RequireInitialised();
  if (!document) Raise(kErrBadArgument);
  const int32_t count = document->pdf->getNumPages();
  if (count > 0) return count;
  // Poppler takes a damaged /Count for no pages; the pages the tree reaches are still there.
  return static_cast<int32_t>(PageTreeOf(document).leaves.size());
}

OkText* DocInfoText(const OkDoc* document, const char* key) {
  RequireInitialised();
  if (!document || !key) Raise(kErrBadArgument);
  // The /Info reference is resolved here rather than through Poppler's own lookup: once Poppler
  // has rebuilt a damaged cross-reference table (wrong offsets, a reference to an object that
  // is not there), its new trailer dictionary belongs to no table, so the lookup hands back the
  // bare reference and every information entry, the Creator too, reads as absent.
  XRef* xref = document->pdf->getXRef();
  const Object info = document->pdf->getDocInfoNF().fetch(xref);
  const Object value = info.isDict() ? info.dictLookup(key) : Object();
  OkText* text = New<OkText>();
  if (value.isString()) {
    text->units = DecodeTextString(value.getString()->c_str(),
                                   static_cast<size_t>(value.getString()->getLength()));
  }
  return text;
}

}  // namespace ondrelkit
