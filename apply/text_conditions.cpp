#include "apply/text_conditions.h"

namespace osprevan::apply {

int32_t ApplyHighlight(Placement& placement) {
  placement.NoteReason(PlacementReason::NotYetApplied);
  return 1;
}

int32_t ApplyUnderline(Placement& placement) {
  placement.NoteReason(PlacementReason::NotYetApplied);
  return 1;
}

}  // namespace osprevan::apply
