// What became of the placements of one import, counted per kind of change for the summary, and
// the usage event that tells the host a document's comments were turned into placements.
#pragma once

#include <cstdint>

#include "apply/outcome_counters.h"
#include "apply/placement.h"
#include "tolvane/numbers.h"

namespace osprevan::apply {

// Counts one placement in the summary row of its kind: failed when it was not `applied`,
// misplaced when it counts as misplaced (CountsAsMisplaced), else successful. A kind without a
// row (PlacementKind::Other) is not counted.
void CountOutcome(OutcomeCounters& counters, const Placement& placement, bool applied);

// Sends "Osprevan" "StructureDoc"/"UnstructureDoc" "Successful" for `document`: every top-level
// comment became a placement. What the host makes of it is not looked at.
void ReportConversion(tolvane::ObjectId document);

}  // namespace osprevan::apply
