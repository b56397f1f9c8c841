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
struct OkContent;
struct OkElement;

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
// The blocks the library holds from the client's callbacks; back to 0 once everything it handed
// out is released. Kept across OkTerminate and a new OkInitialize while the library stays loaded.
int64_t OkBlocksInUse();
// The pages whose content was read before the client asked for it (the library reads ahead on a
// second thread while the client reads pages in order), since the library was loaded. Reading ahead
// is off in a process whose environment sets OK_READ_AHEAD=0 (read when a document starts reading
// ahead).
int64_t OkPagesReadAhead();

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
  // The text as UTF-8 bytes into `buffer` (cut between characters, zero-terminated); answers
  // the full length.
  size_t (*PdfTextBytes)(const OkText* text, char* buffer, size_t capacity);
  // The text as UTF-16 units into `buffer` (cut between characters, zero-terminated); answers
  // the full count.
  size_t (*PdfTextToUtf16)(const OkText* text, char16_t* buffer, size_t capacity);
  void (*PdfRelease)(void* handle);
};

// Table "OkObjects": PDF objects. Objects are handles (released with PdfRelease); PdfObjCompare
// orders all objects totally. Two handles of the same indirect object are equal; direct numbers,
// names, strings, booleans and nulls are equal by value; a direct dictionary or array is equal
// only to its own handle (two handles read from the same place are not), ordered by handle.
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

// Table "OkContent": a page's content as the library interprets it. The content belongs to
// the page: handles stay valid until PdfReleasePage and are never released on their own.
// Marked-content sequences are containers (kind 12) holding what they mark; text shown
// between them is text elements (kind 1), each a list of runs of characters. Boxes are
// left, bottom, right, top in the page's default user space (unrotated, y upward). A character
// whose box cannot be given (not finite, or beyond 16.16 fixed point) keeps its place, codes
// and Unicode, with an empty box at its origin (at 0,0 when the origin is beyond too).
enum PdfElementKindValue : int32_t { kPdfElementText = 1, kPdfElementContainer = 12 };
constexpr uint32_t kOkContentVersion = 1;
struct OkContentTable {
  uint32_t version;
  const OkContent* (*PdfPageContent)(OkPage* page);
  int32_t (*PdfContentCount)(const OkContent* content);
  const OkElement* (*PdfContentAt)(const OkContent* content, int32_t index);
  int32_t (*PdfElementKind)(const OkElement* element);
  const OkContent* (*PdfContainerContent)(const OkElement* container);
  // The container's tag (as in "/P <</MCID 3>> BDC") and its MCID (-1 when it has none).
  ondrelkit::PdfAtom (*PdfContainerTag)(const OkElement* container);
  int32_t (*PdfContainerMcid)(const OkElement* container);
  // The innermost container with an MCID around a text element; null when there is none.
  const OkElement* (*PdfTextMarkedContent)(const OkElement* text);
  int32_t (*PdfTextRunCount)(const OkElement* text);
  int32_t (*PdfRunCharCount)(const OkElement* text, int32_t run);
  void (*PdfCharBox)(const OkElement* text, int32_t run, int32_t index, PdfFixed box[4]);
  // The character's code bytes as they stand in the content stream; answers their count.
  size_t (*PdfCharCodes)(const OkElement* text, int32_t run, int32_t index, uint8_t* buffer,
                         size_t capacity);
  // The character's Unicode text (from ToUnicode, else the font's encoding) as UTF-16 into
  // `buffer` (cut, zero-terminated); answers the full count of units.
  size_t (*PdfCharUnicode)(const OkElement* text, int32_t run, int32_t index, char16_t* buffer,
                           size_t capacity);
};

// Structure-tree operations, linked by name rather than through a table. Structure elements
// belong to their document: the same element always gives the same handle, PdfRelease leaves
// it alone, and PdfCloseDoc frees it.
using PdfStructRootKidFunction = OkStructElem* (*)(const OkDoc* document, int32_t index);
// The root's /RoleMap dictionary as an object, or null when the document has none.
using PdfStructRoleMapFunction = OkObj* (*)(const OkDoc* document);
// The standard type a type maps to, following the map's chain; the type itself when unmapped.
using PdfRoleMapDirectFunction = ondrelkit::PdfAtom (*)(const OkObj* roleMap,
                                                        ondrelkit::PdfAtom type);
using PdfStructElemTypeFunction = ondrelkit::PdfAtom (*)(const OkStructElem* element);
// The parent element; null when the parent is the root.
using PdfStructElemParentFunction = OkStructElem* (*)(const OkStructElem* element);
using PdfStructElemKidCountFunction = int32_t (*)(const OkStructElem* element);
// The index-th kid when it is a structure element; null for any other kind of kid.
using PdfStructElemKidFunction = OkStructElem* (*)(const OkStructElem* element, int32_t index);
// What the index-th kid of an element is.
enum PdfStructKidKindValue : int32_t {
  kPdfKidElement = 1,        // a structure element: PdfStructElemKid
  kPdfKidMarkedContent = 2,  // an MCID, alone or in a marked-content reference
  kPdfKidObject = 3,         // an object reference (an annotation, an XObject)
  kPdfKidDamaged = 4,        // none of these
};
using PdfStructElemKidKindFunction = int32_t (*)(const OkStructElem* element, int32_t index);
// The MCID of a marked-content kid, and in `page` (when not null) the index of its page (-1
// when neither the reference nor the element names one); -1 for any other kind of kid.
using PdfStructElemKidMcidFunction = int32_t (*)(const OkStructElem* element, int32_t index,
                                                 int32_t* page);
// The object an object-reference kid names (its /Obj) as a new object; null for any other kind.
using PdfStructElemKidObjectFunction = OkObj* (*)(const OkStructElem* element, int32_t index);
// The index of the first page with content of the element; -1 when none is found.
using PdfStructElemFirstPageFunction = int32_t (*)(const OkStructElem* element);
// The /ID bytes (cut, zero-terminated); answers their full count, 0 when there is none.
using PdfStructElemIdFunction = size_t (*)(const OkStructElem* element, char* buffer,
                                           size_t capacity);
// The structure element that owns the marked content `mcid` of a page (its object, from
// PdfPageObject); null when the page or parent tree does not name one.
using PdfMarkedContentParentFunction = OkStructElem* (*)(const OkObj* page, int32_t mcid);
// How many MCIDs the page's parent-tree entry names (each below the count, maybe with gaps),
// without reading the page's content; 0 when the page or parent tree names none.
using PdfPageMarkedContentCountFunction = int32_t (*)(const OkObj* page);
// Fills `text` with the element's /ActualText; false (and an empty text) when it has none.
using PdfStructElemActualTextFunction = bool (*)(const OkStructElem* element, OkText* text);

OkStructElem* PdfStructRootKid(const OkDoc* document, int32_t index);
OkObj* PdfStructRoleMap(const OkDoc* document);
ondrelkit::PdfAtom PdfRoleMapDirect(const OkObj* roleMap, ondrelkit::PdfAtom type);
ondrelkit::PdfAtom PdfStructElemType(const OkStructElem* element);
OkStructElem* PdfStructElemParent(const OkStructElem* element);
int32_t PdfStructElemKidCount(const OkStructElem* element);
OkStructElem* PdfStructElemKid(const OkStructElem* element, int32_t index);
int32_t PdfStructElemKidKind(const OkStructElem* element, int32_t index);
int32_t PdfStructElemKidMcid(const OkStructElem* element, int32_t index, int32_t* page);
OkObj* PdfStructElemKidObject(const OkStructElem* element, int32_t index);
int32_t PdfStructElemFirstPage(const OkStructElem* element);
size_t PdfStructElemId(const OkStructElem* element, char* buffer, size_t capacity);
OkStructElem* PdfMarkedContentParent(const OkObj* page, int32_t mcid);
int32_t PdfPageMarkedContentCount(const OkObj* page);
bool PdfStructElemActualText(const OkStructElem* element, OkText* text);

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
