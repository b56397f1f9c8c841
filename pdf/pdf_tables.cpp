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
  if (!t_tables.core) {
    missing = "its table OkCore";
    return false;
  }
  return true;
}

void UnbindTables() {
  t_tables = PdfTables{};
}

}  // namespace osprevan::pdf
