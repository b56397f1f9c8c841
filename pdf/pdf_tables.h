// The PDF library's function tables as this thread took them at load time.
#pragma once

#include <string>

#include "ondrelkit/ondrelkit.h"
#include "platform/win/module.h"
#include "support/status.h"

namespace osprevan::pdf {

struct PdfTables {
  const OkCoreTable* core = nullptr;
  const OkDocumentTable* document = nullptr;
  const OkObjectsTable* objects = nullptr;
  const OkPagesTable* pages = nullptr;
  const OkDatesTable* dates = nullptr;
  const OkContentTable* content = nullptr;
  // Structure-tree operations, linked by name.
  PdfStructRootKidFunction structRootKid = nullptr;
  PdfStructElemTypeFunction structElemType = nullptr;
  PdfStructRoleMapFunction structRoleMap = nullptr;
  PdfRoleMapDirectFunction roleMapDirect = nullptr;
  PdfStructElemParentFunction structElemParent = nullptr;
  PdfStructElemKidCountFunction structElemKidCount = nullptr;
  PdfStructElemKidFunction structElemKid = nullptr;
  PdfStructElemKidKindFunction structElemKidKind = nullptr;
  PdfStructElemFirstPageFunction structElemFirstPage = nullptr;
  PdfStructElemIdFunction structElemId = nullptr;
  PdfMarkedContentParentFunction markedContentParent = nullptr;
  PdfPageMarkedContentCountFunction pageMarkedContentCount = nullptr;
  PdfStructElemActualTextFunction structElemActualText = nullptr;
};

// The tables of the loaded library; null members when none is loaded.
const PdfTables& Tables();

using GetTableFunction = const void* (*)(const char* name, uint32_t minVersion);

// Takes every table and structure operation the plug-in needs; not found, with the name of the
// first one missing as the reason ("its table OkCore"), and nothing bound.
support::Status BindTables(win::HMODULE module, GetTableFunction getTable);
void UnbindTables();

}  // namespace osprevan::pdf
