// One run of the import command, from choosing the PDF to the summary.
#pragma once

#include <cstdint>

namespace osprevan::session {

// The per-command context of one import. For now it holds nothing: the import driver that
// fills it is still to come.
class ImportSession {
 public:
  ImportSession() = default;
  ImportSession(const ImportSession&) = delete;
  ImportSession& operator=(const ImportSession&) = delete;
};

// PLACEHOLDER: the import driver is not built yet. It does nothing and answers 1 (nothing ran),
// so that the command's calling order (warning, import, unloading the PDF library) is complete.
int32_t RunImport(ImportSession& session);

}  // namespace osprevan::session
