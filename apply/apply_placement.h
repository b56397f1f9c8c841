// Puts one validated placement into the document: the change its kind asks for, or only its
// marker when the place is in doubt. A lone marker whose place is deleted text stands beside
// that text, and its placement becomes misplaced. Nothing of a comment is dropped: one whose
// change cannot be made leaves its marker.
#pragma once

#include <cstdint>

#include "apply/placement.h"
#include "apply/struck_ranges.h"

namespace osprevan::apply {

// Changes the document as the placement's kind asks, or puts only its marker in for a misplaced
// placement. New text whose place another comment of the placing struck is not put in: the
// placement becomes a misplaced marker that names that comment. A failure keeps its reason in
// the placement, leaves the writer's text as it was, and leaves the comment's marker, with its
// whole content, where one can stand (`markerStands`).
support::Status ApplyPlacement(Placement& placement, const StruckRanges& struck);

}  // namespace osprevan::apply
