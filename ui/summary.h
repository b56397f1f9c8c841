// The summary at the end of an import: how many comments of each kind were imported, misplaced
// or failed. The user sees it in a dialog; another client that started the import gets it as a
// small text file instead.
#pragma once

#include <cstdint>
#include <string>

#include "ui/outcome_counters.h"

namespace osprevan::ui {

// Shows the summary dialog, or writes the summary file when another client started the import.
// Below the counts, both give the number of comments imported before and the warnings, which
// are also printed on the host's console.
void ShowSummary(const OutcomeCounters& counters);

// Events of the host-run dialog number 6: OK, a confirmation or the close box close it.
void SummaryDialogEvent(int32_t item, int32_t modifiers);

// Writes the summary file beside the caller's PDF, else in the host's user directory.
// 0 written, 1 nothing usable or a write failed; never reported to the user.
int32_t WriteSummaryFile(const OutcomeCounters& counters);

// The summary file for a PDF path: the file name's extension replaced by ".smry", or
// ".smry" appended when the file name has none.
std::string SummaryFileName(const std::string& pdfPath);

}  // namespace osprevan::ui
