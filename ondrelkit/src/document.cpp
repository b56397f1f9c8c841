// Files and documents on Poppler.
#include <memory>

#include "poppler/GlobalParams.h"
#include "poppler/PDFDoc.h"
#include "poppler/goo/GooString.h"
#include "src/handles.h"
#include "src/operations.h"
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
  return document->pdf->getNumPages();
}

OkText* DocInfoText(const OkDoc* document, const char* key) {
  RequireInitialised();
  if (!document || !key) Raise(kErrBadArgument);
  std::unique_ptr<GooString> value = document->pdf->getDocInfoStringEntry(key);
  OkText* text = New<OkText>();
  if (value)
    text->units = DecodeTextString(value->c_str(), static_cast<size_t>(value->getLength()));
  return text;
}

}  // namespace ondrelkit
