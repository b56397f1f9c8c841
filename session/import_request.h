// What the caller asked of one import, read once when the command starts and passed down: who
// asked, the PDF and where its files go when another client asked, whether the phases are
// timed aloud, and the preferences as they were read.
#pragma once

#include <optional>
#include <string>

#include "hostlink/caller.h"
#include "session/preferences.h"

namespace osprevan::session {

struct ImportRequest {
  hostlink::Caller caller;
  // The PDF another client named; an import from the menu asks for it in the input dialog.
  std::string pdfPath;
  // Where another client asked for the summary file and the report; unset: beside the PDF; an
  // empty path: none.
  std::optional<std::string> summaryPath;
  std::optional<std::string> reportPath;
  // The time of each phase of the import goes on the console.
  bool wantsPhases = false;
  Preferences preferences;
};

}  // namespace osprevan::session
