// The PDF library's loading interface and function tables. A client loads the library at run
// time, initialises it with memory callbacks, and takes each table by name and minimum version.
// Operations that fail raise ondrelkit::PdfError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>

namespace ondrelkit {

class PdfError : public std::exception {
 public:
  explicit PdfError(int32_t code) : code_(code) {}
  int32_t code() const { return code_; }
  const char* what() const noexcept override { return "PDF library error"; }

 private:
  int32_t code_;
};

using PdfAtom = uint32_t;
constexpr PdfAtom kNoAtom = 0xFFFFFFFFu;

}  // namespace ondrelkit

// Opaque handles. Every handle the library hands out is released with PdfRelease, except
// documents (PdfCloseDoc).
struct OkText;
struct OkPath;
struct OkFileSys;
struct OkDoc;
struct OkStructElem;

extern "C" {

struct OkMemoryCallbacks {
  void* (*allocate)(void* context, size_t size);
  void* (*reallocate)(void* context, void* block, size_t size);
  void (*release)(void* context, void* block);
  size_t (*available)(void* context);
  void* context;
};

// 0 on success; initData is a decimal number as text.
int32_t OkInitialize(const char* initData, const OkMemoryCallbacks* memory);
// A table of at least `minVersion`, or null.
const void* OkGetFunctionTable(const char* name, uint32_t minVersion);
void OkTerminate();

// Table "OkCore": names, and the code of the last error raised on this thread.
constexpr uint32_t kOkCoreVersion = 1;
struct OkCoreTable {
  uint32_t version;
  ondrelkit::PdfAtom (*PdfAtom)(const char* name);
  const char* (*PdfAtomName)(ondrelkit::PdfAtom atom);
  int32_t (*PdfErrorCode)();
  // Texts: UTF-16 inside.
  OkText* (*PdfTextNew)();
  OkText* (*PdfTextFromUtf16)(const char16_t* units, size_t count);
  // From PDF text-string bytes: UTF-16BE with its byte-order mark, else PDFDocEncoding.
  OkText* (*PdfTextFromBytes)(const char* bytes, size_t length);
  // The text as UTF-8 bytes into `buffer` (cut, zero-terminated); answers the full length.
  size_t (*PdfTextBytes)(const OkText* text, char* buffer, size_t capacity);
  // The text as UTF-16 units into `buffer` (cut, zero-terminated); answers the full count.
  size_t (*PdfTextToUtf16)(const OkText* text, char16_t* buffer, size_t capacity);
  void (*PdfRelease)(void* handle);
};

// Structure-tree operations, linked by name rather than through a table.
using PdfStructRootKidFunction = OkStructElem* (*)(const OkDoc* document, int32_t index);
using PdfStructElemTypeFunction = ondrelkit::PdfAtom (*)(const OkStructElem* element);
OkStructElem* PdfStructRootKid(const OkDoc* document, int32_t index);
ondrelkit::PdfAtom PdfStructElemType(const OkStructElem* element);

// Table "OkDocument": files and documents.
constexpr uint32_t kOkDocumentVersion = 1;
struct OkDocumentTable {
  uint32_t version;
  OkFileSys* (*PdfDefaultFileSys)();
  OkPath* (*PdfPathFromText)(OkFileSys* fileSystem, const OkText* path);
  OkDoc* (*PdfOpenDoc)(const OkPath* path, OkFileSys* fileSystem);
  void (*PdfCloseDoc)(OkDoc* document);
  int32_t (*PdfPageCount)(const OkDoc* document);
  // The information entry as a new text; an empty text when the entry is absent.
  OkText* (*PdfDocInfoText)(const OkDoc* document, const char* key);
  // False when the document has no structure tree.
  bool (*PdfStructRoot)(const OkDoc* document);
};
}
