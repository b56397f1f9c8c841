// What one import keeps for placing comments: the open PDF and how its structure reads, the
// outcome counters, the user's view to give back, and the collections of the document being
// worked on. The import driver's session is this context plus what only the driver uses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "apply/comment_report.h"
#include "apply/unreadable_pages.h"
#include "ondrelkit/ondrelkit.h"
#include "pdf/document_context.h"
#include "tolvane/numbers.h"
#include "ui/import_notices.h"
#include "ui/outcome_counters.h"

namespace osprevan::apply {

// Its destruction releases everything of the import and gives the user's view back.
class ImportContext {
 public:
  ImportContext();
  ~ImportContext();
  ImportContext(const ImportContext&) = delete;
  ImportContext& operator=(const ImportContext&) = delete;

  OkDoc* pdf = nullptr;
  // The comments and page text read for the document being imported, with what reading keeps
  // for the whole import.
  pdf::DocumentContext reading;
  ui::OutcomeCounters counters;
  // 1 once the user was asked about a changed source for the current target and went on.
  uint32_t sourceChanged = 0;
  std::optional<std::string> keptViewName;
  tolvane::ObjectId document = 0;  // the target document of the per-document loop
  // What became of every comment read, over the whole import (a book's components added up).
  std::vector<ReportEntry> report;
  // The pages the library could not read, over the whole import.
  UnreadablePages unreadable;
  // What the import tells beyond the counts, in the order found.
  ui::ImportNotices notices;

  // Empties what the per-document loop collected for one document.
  void ClearDocumentCollections();
};

}  // namespace osprevan::apply
