// Puts one validated placement into the document: the change its kind asks for, or only its
// marker when the place is in doubt or another marker stands at the same spot. A lone marker
// whose place is deleted text stands beside that text, and its placement becomes misplaced.
#pragma once

#include <cstdint>

#include "apply/placement.h"

namespace osprevan::apply {

// Changes the document as the placement's kind asks, or puts only its marker in for a misplaced
// placement and for the second of two at the same spot. A failure keeps its reason in the
// placement and leaves the writer's text as it was.
support::Status ApplyPlacement(Placement& placement, bool sameSpot);

}  // namespace osprevan::apply
