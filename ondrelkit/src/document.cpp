// Files and documents on Poppler.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "poppler/GlobalParams.h"
#include "poppler/PDFDoc.h"
#include "poppler/Stream.h"
#include "poppler/XRef.h"
#include "poppler/goo/GooString.h"
#include "src/block_file_stream.h"
#include "src/handles.h"
#include "src/operations.h"
#include "src/page_tree.h"
#include "src/support_utf8.h"

OkDoc::~OkDoc() {
  for (auto& [key, element] : structElems) ondrelkit::Delete(element);
}

namespace ondrelkit {
namespace {

// Files up to this size are read whole into memory, so that Poppler lexes from memory rather
// than from the file 256 bytes a system call; larger ones are read through a cache of a few
// large blocks, so that the copy never adds more than this to the memory an import takes.
constexpr uintmax_t kWholeFileLimit = uintmax_t{8} << 20;

// The file's bytes; none when it is empty, larger than the limit or cannot be read (the file is
// then opened by name, and Poppler says why it does not open).
std::vector<char> WholeFile(const std::string& name) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(name, error);
  if (error || size == 0 || size > kWholeFileLimit) return {};
  std::vector<char> bytes(static_cast<size_t>(size));
  std::ifstream in(name, std::ios::binary);
  if (!in.read(bytes.data(), static_cast<std::streamsize>(size)) ||
      in.gcount() != static_cast<std::streamsize>(size) || in.peek() != EOF) {
    return {};
  }
  return bytes;
}

}  // namespace

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
  const std::string name = Utf16ToUtf8(path->path);
  std::vector<char> bytes = WholeFile(name);
  auto repaired = std::make_shared<bool>(false);
  const auto noteRepair = [repaired] { *repaired = true; };
  std::unique_ptr<PDFDoc> pdf;
  if (!bytes.empty()) {
    pdf = std::make_unique<PDFDoc>(
        new MemStream(bytes.data(), 0, static_cast<Goffset>(bytes.size()), Object(objNull)),
        std::nullopt, std::nullopt, nullptr, noteRepair);
  } else if (auto blocks = ondrelkit::BlockFileStream::Open(name)) {
    pdf =
        std::make_unique<PDFDoc>(blocks.release(), std::nullopt, std::nullopt, nullptr, noteRepair);
  } else {
    // Poppler opens it by name, and says why it cannot.
    pdf = std::make_unique<PDFDoc>(std::make_unique<GooString>(name), std::nullopt, std::nullopt,
                                   nullptr, noteRepair);
  }
  if (!pdf->isOk()) {
    const int code = pdf->getErrorCode();
    Raise(code == errOpenFile    ? kErrFileOpen
          : code == errEncrypted ? kErrNeedsPassword
                                 : kErrDamaged);
  }
  OkDoc* document = New<OkDoc>();
  // Moved, the vector keeps its buffer, which the document's stream points into.
  document->bytes = std::move(bytes);
  document->pdf = std::move(pdf);
  document->repaired = std::move(repaired);
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
