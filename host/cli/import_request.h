// The arguments of "tolvane import FILE PDF [-o OUT] [--dry-run] [--report PATH] [--phases]",
// and saving what the import changed.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/cli/import_outputs.h"
#include "host/cli/ui_language.h"
#include "host/engine/engine.h"

namespace tlhost {

struct ImportRequest {
  std::string file;  // the document or book to import into
  std::string pdf;
  std::string out;  // empty: save in place; for a book, the folder for its changed documents
  bool dryRun = false;
  std::string report;   // --report PATH: the per-comment report goes there; empty: beside the PDF
  int repeat = 0;       // --repeat N: import N times into fresh copies, save nothing
  bool phases = false;  // --phases: print the time of each phase, the host's and the plug-in's
  double waitSeconds = 30;  // --wait SECONDS: how long to wait for another import's lock
  std::string reviewPage;   // --review-page PAGE: the review page goes there after the import
};

// Reads the SECONDS of --wait SECONDS: a number from 0 to a day.
bool ParseWait(const std::string& text, double& seconds, std::string& problem, UiLanguage language);

// Reads FILE and PDF, the words after "import" that are not options (those the caller reads).
// False with `problem` in words on a wrong use.
bool ParseImportRequest(const std::vector<std::string>& words, bool dryRun, ImportRequest& request,
                        std::string& problem, UiLanguage language);

// Reads the N of --repeat N: a whole number of rounds from 1 to 100000.
bool ParseRepeat(const std::string& text, int& rounds, std::string& problem, UiLanguage language);

// Saves `target` through the engine, which writes a temporary file and renames it, so that a
// failed save leaves the old file whole: to request.out (for a book, its changed component
// documents into the folder request.out), or in place together with every other open document
// or book the import changed (the components of a book). Answers the exit
// status, 0 or 1, with a line on `err` in `language` for each file that could not be saved, and
// in `files` each file it tried to save, with the reason (in English, for the report) when it
// was not.
int SaveImported(UiLanguage language, Engine& engine, ObjectId target, const ImportRequest& request,
                 std::ostream& err, std::vector<SavedFile>& files);

}  // namespace tlhost
