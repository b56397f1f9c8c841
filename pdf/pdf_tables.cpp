#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {
thread_local PdfTables t_tables;
}

const PdfTables& Tables() {
  return t_tables;
}

bool BindTables(win::HMODULE, GetTableFunction getTable, std::string& missing) {
  t_tables.core = static_cast<const OkCoreTable*>(getTable("OkCore", kOkCoreVersion));
  t_tables.document =
      static_cast<const OkDocumentTable*>(getTable("OkDocument", kOkDocumentVersion));
  if (!t_tables.core || !t_tables.document) {
    missing = t_tables.core ? "its table OkDocument" : "its table OkCore";
    UnbindTables();
    return false;
  }
  return true;
}

void UnbindTables() {
  t_tables = PdfTables{};
}

}  // namespace osprevan::pdf
