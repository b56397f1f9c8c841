// The one line "tolvane import" ends with, in the user's language: what became of the
// comments, whether the document was saved (and why not), and where the report is. For
// example "doc.tlv: 36 of 40 comments placed, 2 flagged for review, 2 failed, 3 already
// imported; saved; report doc.report.json".
#pragma once

#include <optional>
#include <string>

#include "host/cli/ui_language.h"

namespace tlhost {

// The comments of a report by outcome; filtered-out comments are counted nowhere.
struct OutcomeCounts {
  int placed = 0;
  int flagged = 0;
  int failed = 0;
  int alreadyImported = 0;
};

// Reads the counts from the text of a per-comment report; nothing when it is not one.
std::optional<OutcomeCounts> CountOutcomes(const std::string& reportText);

struct ImportEnd {
  enum class Saving { Saved, DryRun, ImportRefused, SaveFailed } saving = Saving::Saved;
  std::string document;                 // as the user named it
  std::string savedTo;                  // -o OUT; empty when saved in place
  std::string refusal;                  // why the import did not run, when known
  std::optional<OutcomeCounts> counts;  // none without a report
  std::string report;                   // the report's path; empty when none was written
};

std::string OutcomeLine(UiLanguage language, const ImportEnd& end);

}  // namespace tlhost
