#include "apply/outcome_count.h"

#include <limits>

#include "hostlink/document_structure.h"
#include "hostlink/host_ops.h"

namespace osprevan::apply {
namespace {

// The summary row of a placement kind; -1 for a kind that is not counted.
int RowOf(uint32_t kind) {
  switch (kind) {
    case PlaceInsertion:
      return ui::kRowInsertions;
    case PlaceDeletion:
      return ui::kRowDeletions;
    case PlaceReplacement:
      return ui::kRowReplacements;
    case PlaceNote:
      return ui::kRowNotes;
    case PlaceUnderline:
      return ui::kRowUnderlines;
    case PlaceHighlight:
    case PlaceHighlightNote:
      return ui::kRowHighlights;
    default:
      return -1;
  }
}

}  // namespace

void CountOutcome(ui::OutcomeCounters& counters, const Placement& placement, int32_t result) {
  const int row = RowOf(placement.kind);
  if (row < 0) return;
  int column = ui::kColumnSuccessful;
  if (result != 0) {
    column = ui::kColumnFailed;
  } else if (CountsAsMisplaced(placement)) {
    column = ui::kColumnMisplaced;
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
