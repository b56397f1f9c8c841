#include "apply/tracked_changes.h"

namespace osprevan::apply {

int32_t ApplyInsertion(Placement& placement) {
  placement.NoteReason(PlacementReason::NotYetApplied);
  return 1;
}

int32_t ApplyDeletion(Placement& placement) {
  placement.NoteReason(PlacementReason::NotYetApplied);
  return 1;
}

int32_t ApplyReplacement(Placement& placement) {
  placement.NoteReason(PlacementReason::NotYetApplied);
  return 1;
}

}  // namespace osprevan::apply
