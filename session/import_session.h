// One run of the import command, from choosing the PDF to the summary.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ondrelkit/ondrelkit.h"
#include "tolvane/numbers.h"
#include "ui/outcome_counters.h"

namespace osprevan::session {

// The per-command context of one import; its destruction releases everything of the import
// and gives the user's view back.
class ImportSession {
 public:
  ImportSession();
  ~ImportSession();
  ImportSession(const ImportSession&) = delete;
  ImportSession& operator=(const ImportSession&) = delete;

  OkDoc* pdf = nullptr;
  uint8_t isBook = 0;
  uint8_t isDocument = 0;
  uint8_t hasRoleMap = 0;
  // Structure types that stand for a paragraph of the source, as atoms; empty when the PDF
  // library could not make them.
  std::vector<ondrelkit::PdfAtom> paragraphTypes;
  ui::OutcomeCounters counters;
  // 1 once the user was asked about a changed source for the current target and went on.
  uint32_t sourceChanged = 0;
  std::optional<std::string> keptViewName;
  tolvane::ObjectId document = 0;  // the target document of the per-document loop

  // Empties what the per-document loop collected for one document.
  void ClearDocumentCollections();
};

// 0 when every step succeeded; 1 when a step failed or the user cancelled.
int32_t RunImport(ImportSession& session);

}  // namespace osprevan::session
