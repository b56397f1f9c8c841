#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

thread_local PdfTables t_tables;

template <typename Table>
bool TakeTable(GetTableFunction getTable, const char* name, uint32_t version, const Table*& slot,
               std::string& missing) {
  slot = static_cast<const Table*>(getTable(name, version));
  if (!slot && missing.empty()) missing = std::string("its table ") + name;
  return slot != nullptr;
}

template <typename Function>
void TakeOperation(win::HMODULE module, const char* name, Function& slot, std::string& missing) {
  slot = reinterpret_cast<Function>(win::GetProcAddress(module, name));
  if (!slot && missing.empty()) missing = std::string("its operation ") + name;
}

}  // namespace

const PdfTables& Tables() {
  return t_tables;
}

support::Status BindTables(win::HMODULE module, GetTableFunction getTable) {
  PdfTables& t = t_tables;
  std::string missing;
  TakeTable(getTable, "OkCore", kOkCoreVersion, t.core, missing);
  TakeTable(getTable, "OkDocument", kOkDocumentVersion, t.document, missing);
  TakeTable(getTable, "OkObjects", kOkObjectsVersion, t.objects, missing);
  TakeTable(getTable, "OkPages", kOkPagesVersion, t.pages, missing);
  TakeTable(getTable, "OkDates", kOkDatesVersion, t.dates, missing);
  TakeTable(getTable, "OkContent", kOkContentVersion, t.content, missing);
  TakeOperation(module, "PdfStructRootKid", t.structRootKid, missing);
  TakeOperation(module, "PdfStructElemType", t.structElemType, missing);
  TakeOperation(module, "PdfStructRoleMap", t.structRoleMap, missing);
  TakeOperation(module, "PdfRoleMapDirect", t.roleMapDirect, missing);
  TakeOperation(module, "PdfStructElemParent", t.structElemParent, missing);
  TakeOperation(module, "PdfStructElemKidCount", t.structElemKidCount, missing);
  TakeOperation(module, "PdfStructElemKid", t.structElemKid, missing);
  TakeOperation(module, "PdfStructElemKidKind", t.structElemKidKind, missing);
  TakeOperation(module, "PdfStructElemFirstPage", t.structElemFirstPage, missing);
  TakeOperation(module, "PdfStructElemId", t.structElemId, missing);
  TakeOperation(module, "PdfMarkedContentParent", t.markedContentParent, missing);
  TakeOperation(module, "PdfPageMarkedContentCount", t.pageMarkedContentCount, missing);
  TakeOperation(module, "PdfStructElemActualText", t.structElemActualText, missing);
  if (!missing.empty()) {
    UnbindTables();
    return support::Status::NotFound(missing);
  }
  return support::Status::Done();
}

void UnbindTables() {
  t_tables = PdfTables{};
}

}  // namespace osprevan::pdf
