// The same import run again and again in one process, each time into a fresh copy of the
// document, with what each round leaves behind: for showing that imports neither keep memory
// nor slow down over a long editing session.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "host/cli/import_request.h"
#include "host/cli/ui_language.h"
#include "host/link/host.h"

namespace tlhost {

struct ImportRound {
  bool ran = false;        // the plug-in went as far as placing comments
  double seconds = 0;      // the import alone, without opening and closing the document
  int64_t taskBlocks = 0;  // blocks of the task allocator still held after the round
  int64_t pdfBlocks = 0;   // blocks the PDF library still holds after the round
  size_t heapBytes = 0;    // the process's heap in use after the round
};

// Opens request.file, imports request.pdf into it as another client would, and closes it
// unsaved, `rounds` times. The PDF library is held loaded by the host for the whole loop, so its
// count of blocks carries from one round to the next. Prints a line per round on `out`; the
// rounds are in `measured`. False, saying why in `language`, when the document or the library
// cannot be opened. The per-round lines are read by programs: the same in every language.
bool RepeatImport(UiLanguage language, Host& host, const std::string& pdfLibraryPath,
                  const ImportRequest& request, int rounds, std::ostream& out,
                  std::vector<ImportRound>& measured);

}  // namespace tlhost
