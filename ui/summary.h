// The summary shown at the end of an import: what was imported, misplaced or failed.
#pragma once

#include "ui/outcome_counters.h"

namespace osprevan::ui {

// PLACEHOLDER: shows nothing yet; the summary dialog and the summary file come with the
// summary report.
void ShowSummary(const OutcomeCounters& counters);

}  // namespace osprevan::ui
