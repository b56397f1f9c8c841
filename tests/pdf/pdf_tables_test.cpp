// Binding the PDF library: every table the plug-in reads must be there, or nothing is bound.
#include <gtest/gtest.h>

#include <cstring>

#include "pdf/pdf_library.h"
#include "pdf/pdf_tables.h"
#include "platform/win/module.h"

namespace osprevan::pdf {
namespace {

using GetTable = const void* (*)(const char*, uint32_t);

GetTable g_realGetTable = nullptr;
const char* g_withheld = nullptr;

// The library's own table lookup, except for the one table a case withholds.
const void* GetTableWithout(const char* name, uint32_t version) {
  if (g_withheld && std::strcmp(name, g_withheld) == 0) return nullptr;
  return g_realGetTable(name, version);
}

TEST(PdfTables, AMissingTableFailsTheBindingAndLeavesNothingBound) {
  // Loaded and initialised as an import does; the module is then taken once more to bind anew.
  ASSERT_TRUE(PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1").ok()) << PdfLibraryLastError();
  win::HMODULE module = win::LoadLibrary(OSPREVAN_PDF_LIBRARY);
  ASSERT_NE(module, nullptr) << win::LastLoaderError();
  g_realGetTable = reinterpret_cast<GetTable>(win::GetProcAddress(module, "OkGetFunctionTable"));
  ASSERT_NE(g_realGetTable, nullptr);

  g_withheld = nullptr;
  const support::Status all = BindTables(module, GetTableWithout);
  ASSERT_TRUE(all.ok()) << all.reason();
  EXPECT_NE(Tables().content, nullptr);
  EXPECT_NE(Tables().markedContentParent, nullptr);
  UnbindTables();

  for (const char* table :
       {"OkCore", "OkDocument", "OkObjects", "OkPages", "OkDates", "OkContent"}) {
    g_withheld = table;
    const support::Status bound = BindTables(module, GetTableWithout);
    EXPECT_EQ(bound.code(), support::StatusCode::kNotFound) << table;
    EXPECT_EQ(bound.reason(), std::string("its table ") + table);
    EXPECT_EQ(Tables().core, nullptr) << table;
    EXPECT_EQ(Tables().structRootKid, nullptr) << table;
  }
  g_withheld = nullptr;
  win::FreeLibrary(module);
  PdfLibraryUnload();
}

}  // namespace
}  // namespace osprevan::pdf
