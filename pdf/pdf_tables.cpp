#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {
thread_local PdfTables t_tables;
}

const PdfTables& Tables() {
  return t_tables;
}

bool BindTables(win::HMODULE module, GetTableFunction getTable, std::string& missing) {
  t_tables.core = static_cast<const OkCoreTable*>(getTable("OkCore", kOkCoreVersion));
  t_tables.document =
      static_cast<const OkDocumentTable*>(getTable("OkDocument", kOkDocumentVersion));
  t_tables.objects = static_cast<const OkObjectsTable*>(getTable("OkObjects", kOkObjectsVersion));
  t_tables.pages = static_cast<const OkPagesTable*>(getTable("OkPages", kOkPagesVersion));
  t_tables.dates = static_cast<const OkDatesTable*>(getTable("OkDates", kOkDatesVersion));
  t_tables.structRootKid =
      reinterpret_cast<PdfStructRootKidFunction>(win::GetProcAddress(module, "PdfStructRootKid"));
  t_tables.structElemType =
      reinterpret_cast<PdfStructElemTypeFunction>(win::GetProcAddress(module, "PdfStructElemType"));
  t_tables.structRoleMap =
      reinterpret_cast<PdfStructRoleMapFunction>(win::GetProcAddress(module, "PdfStructRoleMap"));
  if (!t_tables.core)
    missing = "its table OkCore";
  else if (!t_tables.document)
    missing = "its table OkDocument";
  else if (!t_tables.structRootKid || !t_tables.structElemType || !t_tables.structRoleMap)
    missing = "its structure operations";
  if (!missing.empty()) {
    UnbindTables();
    return false;
  }
  return true;
}

void UnbindTables() {
  t_tables = PdfTables{};
}

}  // namespace osprevan::pdf
