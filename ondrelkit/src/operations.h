// The library's operations, as the function tables list them.
#pragma once

#include <string>

#include "ondrelkit/ondrelkit.h"
#include "poppler/Object.h"

namespace ondrelkit {

void RequireInitialised();
std::u16string DecodeTextString(const char* bytes, size_t length);

OkText* TextNew();
OkText* TextFromUtf16(const char16_t* units, size_t count);
OkText* TextFromBytes(const char* bytes, size_t length);
size_t TextBytes(const OkText* text, char* buffer, size_t capacity);
size_t TextToUtf16(const OkText* text, char16_t* buffer, size_t capacity);
void Release(void* handle);

OkFileSys* DefaultFileSys();
OkPath* PathFromText(OkFileSys* fileSystem, const OkText* text);
OkDoc* OpenDoc(const OkPath* path, OkFileSys* fileSystem);
void CloseDoc(OkDoc* document);
int32_t PageCount(const OkDoc* document);
OkText* DocInfoText(const OkDoc* document, const char* key);
bool StructRoot(const OkDoc* document);
OkStructElem* StructRootKid(const OkDoc* document, int32_t index);
OkObj* StructRoleMap(const OkDoc* document);
PdfAtom RoleMapDirect(const OkObj* roleMap, PdfAtom type);
PdfAtom StructElemType(const OkStructElem* element);
OkStructElem* StructElemParent(const OkStructElem* element);
int32_t StructElemKidCount(const OkStructElem* element);
OkStructElem* StructElemKid(const OkStructElem* element, int32_t index);
int32_t StructElemKidKind(const OkStructElem* element, int32_t index);
int32_t StructElemKidMcid(const OkStructElem* element, int32_t index, int32_t* page);
OkObj* StructElemKidObject(const OkStructElem* element, int32_t index);
int32_t StructElemFirstPage(const OkStructElem* element);
size_t StructElemId(const OkStructElem* element, char* buffer, size_t capacity);
OkStructElem* MarkedContentParent(const OkObj* page, int32_t mcid);
int32_t PageMarkedContentCount(const OkObj* page);
bool StructElemActualText(const OkStructElem* element, OkText* text);
PdfAtom AtomOf(const char* name);
const char* AtomNameOf(PdfAtom atom);
PdfFixed FloatToFixed(double value);
OkObj* MakeObj(const OkDoc* document, const Object& raw);
// The object's value, read from the file on first use when it is an indirect object.
const Object& ValueOf(const OkObj* object);

extern const OkObjectsTable kObjectsTable;
extern const OkPagesTable kPagesTable;
extern const OkDatesTable kDatesTable;
extern const OkContentTable kContentTable;

}  // namespace ondrelkit
