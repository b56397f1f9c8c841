// The summary at the end of an import: how many comments of each kind were imported, misplaced
// or failed. The user sees it in a dialog; another client that started the import gets it as a
// small text file instead.
#pragma once

#include <cstdint>
#include <string>

#include "support/status.h"
#include "ui/import_notices.h"
#include "ui/outcome_counters.h"

namespace osprevan::ui {

// Shows the summary dialog, or writes the summary file when another client started the import;
// either has the notices' shown lines after the counts.
support::Status ShowSummary(const OutcomeCounters& counters, const ImportNotices& notices = {});

// Writes the summary file where the caller asked, else beside the caller's PDF, else in the
// host's user directory. 0 written, 1 nothing usable, none asked for, or a write failed; never
// reported to the user.
support::Status WriteSummaryFile(const OutcomeCounters& counters,
                                 const ImportNotices& notices = {});

// The summary file for a PDF path: the file name's extension replaced by ".smry", or
// ".smry" appended when the file name has none.
std::string SummaryFileName(const std::string& pdfPath);

}  // namespace osprevan::ui
