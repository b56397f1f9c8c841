#include "apply/outcome_count.h"

#include <limits>

#include "hostlink/document_structure.h"
#include "hostlink/host_ops.h"

namespace osprevan::apply {

void CountOutcome(OutcomeCounters& counters, const Placement& placement, bool applied) {
  const int row = SummaryRow(KindRow(placement.kind).read);
  if (row < 0) return;
  int column = kColumnSuccessful;
  if (!applied) {
    column = kColumnFailed;
  } else if (CountsAsMisplaced(placement)) {
    column = kColumnMisplaced;
  }
  int32_t& count = counters.counts[row][column];
  // Guard: a count stops at the largest value rather than wrapping to a negative one.
  if (count < std::numeric_limits<int32_t>::max()) ++count;
}

void ReportConversion(tolvane::ObjectId document) {
  const bool structured = hostlink::HighestElement(document) != 0;
  HostUsageEvent("Osprevan", structured ? "StructureDoc" : "UnstructureDoc", "Successful");
}

}  // namespace osprevan::apply
