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
struct OkObj;
struct OkPage;
struct OkAnnot;
struct OkDate;

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

// Table "OkObjects": PDF objects. Objects are handles (released with PdfRelease); two handles
// of the same indirect object are equal, and PdfObjCompare orders all objects totally.
using PdfFixed = int32_t;  // 16.16 fixed point
enum PdfObjKind : int32_t {
  kPdfNull = 0,
  kPdfBool = 1,
  kPdfInt = 2,
  kPdfReal = 3,
  kPdfString = 4,
  kPdfName = 5,
  kPdfArray = 6,
  kPdfDict = 7,
  kPdfStream = 8,
};
constexpr uint32_t kOkObjectsVersion = 1;
struct OkObjectsTable {
  uint32_t version;
  OkObj* (*PdfNull)();
  bool (*PdfObjEqual)(const OkObj* a, const OkObj* b);
  int32_t (*PdfObjCompare)(const OkObj* a, const OkObj* b);  // -1, 0, 1
  int32_t (*PdfObjType)(const OkObj* object);
  OkObj* (*PdfDictGet)(const OkObj* dict, ondrelkit::PdfAtom key);  // null object when absent
  OkObj* (*PdfArrayGet)(const OkObj* array, int32_t index);
  int32_t (*PdfArrayLength)(const OkObj* array);
  PdfFixed (*PdfFixedValue)(const OkObj* number);
  ondrelkit::PdfAtom (*PdfNameValue)(const OkObj* name);
  // The string's bytes (not terminated) and their count.
  const char* (*PdfStringValue)(const OkObj* string, size_t* length);
};

// Table "OkPages": pages and their annotations.
constexpr uint32_t kOkPagesVersion = 1;
struct OkPagesTable {
  uint32_t version;
  OkPage* (*PdfAcquirePage)(const OkDoc* document, int32_t index);
  void (*PdfReleasePage)(OkPage* page);
  OkObj* (*PdfPageObject)(const OkPage* page);
  int32_t (*PdfPageRotation)(const OkPage* page);  // 0, 90, 180 or 270
  // The crop box: left, bottom, right, top.
  void (*PdfPageBox)(const OkPage* page, PdfFixed box[4]);
  int32_t (*PdfAnnotCount)(const OkPage* page);
  OkAnnot* (*PdfAnnotAt)(const OkPage* page, int32_t index);
  ondrelkit::PdfAtom (*PdfAnnotSubtype)(const OkAnnot* annot);
  // The /Rect entry normalised: left, bottom, right, top.
  void (*PdfAnnotRect)(const OkAnnot* annot, PdfFixed rect[4]);
  OkObj* (*PdfAnnotDict)(const OkAnnot* annot);
  // Fill `text` with the annotation's title (/T) or contents; empty when absent.
  void (*PdfAnnotTitle)(const OkAnnot* annot, OkText* text);
  void (*PdfAnnotContents)(const OkAnnot* annot, OkText* text);
};

// Table "OkDates": dates in UTC, with calendar spans. A new date is 1970-01-01 00:00:00.
struct OkDateSpan {
  int32_t years, months, days, hours, minutes, seconds;
};
constexpr int32_t kPdfDateSortable = 3;  // PdfDateText selector: "YYYY/MM/DD HH:MM:SS"
constexpr uint32_t kOkDatesVersion = 1;
struct OkDatesTable {
  uint32_t version;
  OkDate* (*PdfDateNew)();
  OkDate* (*PdfDateClone)(const OkDate* date);
  void (*PdfDateCopy)(const OkDate* source, OkDate* target);
  void (*PdfDateFree)(OkDate* date);
  void (*PdfDateClear)(OkDate* date);
  void (*PdfDateSetNow)(OkDate* date);
  // The calendar span from `from` to `to`: whole years, then months, days, hours, minutes,
  // seconds, each below its next unit; negative when `to` is earlier.
  OkDateSpan (*PdfDateSpan)(const OkDate* from, const OkDate* to);
  void (*PdfDateAddSpan)(OkDate* date, const OkDateSpan* span);
  void (*PdfDateFromTime)(OkDate* date, int64_t secondsSince1970);
  size_t (*PdfDateText)(const OkDate* date, int32_t selector, char* buffer, size_t capacity);
  int32_t (*PdfDateCompare)(const OkDate* a, const OkDate* b);  // -1, 0, 1
  // The annotation's modification date (/M); raises an error when it is absent or malformed.
  void (*PdfAnnotDate)(const OkAnnot* annot, OkDate* date);
  float (*PdfFixedToFloat)(PdfFixed value);
  PdfFixed (*PdfFloatToFixed)(float value);
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
