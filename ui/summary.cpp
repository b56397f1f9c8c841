#include "ui/summary.h"

namespace osprevan::ui {

void ShowSummary(const OutcomeCounters&) {}

}  // namespace osprevan::ui
