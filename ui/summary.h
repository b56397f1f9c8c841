// The summary at the end of an import: how many comments of each kind were imported, misplaced
// or failed. The user sees it in a dialog; another client that started the import gets it as a
// small text file instead.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "apply/import_notices.h"
#include "apply/outcome_counters.h"
#include "support/status.h"

namespace osprevan::ui {

using apply::ImportNotices;
using apply::OutcomeCounters;

// Where the summary goes: the dialog for a person at the host; a file for another client, the
// one it asked for (an empty path: none), else the one beside its PDF.
struct SummaryTarget {
  bool asFile = false;
  std::optional<std::string> askedPath;
  std::string callerPdfPath;
};

// Shows the summary dialog, or writes the summary file when another client started the import;
// either has the notices' shown lines after the counts.
support::Status ShowSummary(const SummaryTarget& target, const OutcomeCounters& counters,
                            const ImportNotices& notices = {});

// Writes the summary file where the caller asked, else beside the caller's PDF, else in the
// host's user directory. Fails when there is no usable place, none was asked for, or a write
// failed; never reported to the user.
support::Status WriteSummaryFile(const SummaryTarget& target, const OutcomeCounters& counters,
                                 const ImportNotices& notices = {});

}  // namespace osprevan::ui
