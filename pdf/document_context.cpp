#include "pdf/document_context.h"

#include <array>

#include "pdf/annotation_entry.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

constexpr std::array<const char*, 16> kParagraphTypeNames = {
    "P",  "LI", "ListItem", "Caption", "Index", "H",  "H1", "H2",
    "H3", "H4", "H5",       "H6",      "H7",    "H8", "H9", "TOCI"};

}  // namespace

DocumentContext::DocumentContext() {
  const PdfTables& t = Tables();
  if (!t.core) return;
  Guarded(
      [&] {
        for (const char* name : kParagraphTypeNames)
          paragraphTypes.push_back(t.core->PdfAtom(name));
        return 0;
      },
      0);
}

DocumentContext::~DocumentContext() {
  Clear();
}

void DocumentContext::Clear() {
  // The map's keys belong to the records, so it goes first.
  commentsByAnnot.clear();
  statesChanged.clear();
  pendingReplace = nullptr;
  replaceWaiting = false;
  lastReadWasReplace = false;
  replaceHalves = ReplaceHalves();
  unreadKinds.clear();
  unreadAnnotations.clear();
  commentsByPage.clear();
  filteredOut.clear();
  blockSpans.clear();
  blocks.clear();
  openBlockName.reset();
  elementsByPage.clear();
  pageElements.clear();
  groups.clear();
  elements.clear();
  unwalked.clear();
  pageOwners.clear();
  entries.clear();
  elementTypes.clear();
  offset = 0;
  ReleaseHandle(roleMap);
  roleMap = nullptr;
  pageIndex = -1;
  page = PageValues{};
}

}  // namespace osprevan::pdf
