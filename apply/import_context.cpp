#include "apply/import_context.h"

#include <array>

#include "apply/wysiwyg_view.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::apply {
namespace {

constexpr std::array<const char*, 16> kParagraphTypeNames = {
    "P",  "LI", "ListItem", "Caption", "Index", "H",  "H1", "H2",
    "H3", "H4", "H5",       "H6",      "H7",    "H8", "H9", "TOCI"};

}  // namespace

ImportContext::ImportContext() {
  const pdf::PdfTables& t = pdf::Tables();
  if (!t.core) return;
  pdf::Guarded(
      [&] {
        for (const char* name : kParagraphTypeNames)
          paragraphTypes.push_back(t.core->PdfAtom(name));
        return 0;
      },
      0);
}

ImportContext::~ImportContext() {
  RestoreView(*this);
}

void ImportContext::ClearDocumentCollections() {
  document = 0;
}

}  // namespace osprevan::apply
