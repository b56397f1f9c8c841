// One run of the import command, from choosing the PDF to the summary.
#pragma once

#include <cstdint>

#include "apply/import_context.h"

namespace osprevan::session {

// The per-command context of one import: the placing context plus the kind of PDF chosen.
class ImportSession : public apply::ImportContext {
 public:
  uint8_t isBook = 0;
  uint8_t isDocument = 0;
};

// What the steps of one run leave for its end.
struct ImportRun {
  int32_t failed = 0;
  bool importRan = false;  // the summary is due
};

// 0 when every step succeeded; 1 when a step failed or the user cancelled.
int32_t RunImport(ImportSession& session);

}  // namespace osprevan::session
