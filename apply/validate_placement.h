// The last look at a placement before it is applied: its locations must be places the host
// takes as they are, or the placement becomes misplaced, an insertion point at its end.
#pragma once

#include "apply/placement.h"

namespace osprevan::apply {

void ValidatePlacement(Placement& placement);

}  // namespace osprevan::apply
