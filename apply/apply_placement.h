// Puts one validated placement into the document: the change its kind asks for, or only its
// marker when the place is in doubt or another marker stands at the same spot. A lone marker
// whose place is deleted text stands beside that text, and its placement becomes misplaced.
#pragma once

#include <cstdint>

#include "apply/placement.h"

namespace osprevan::apply {

// 0 for success, 1 for failure.
int32_t ApplyPlacement(Placement& placement, bool sameSpot);

}  // namespace osprevan::apply
