// Insertions, deletions and replacements as the host's tracked changes.
#pragma once

#include <cstdint>

#include "apply/placement.h"

namespace osprevan::apply {

// Each answers 0 when the change is in the document, 1 when it failed and the document is
// as it was.
// PLACEHOLDER: each answers 1 (failed) and changes nothing yet; the tracked changes come with
// the work on tracked changes and conditions.
int32_t ApplyInsertion(Placement& placement);
int32_t ApplyDeletion(Placement& placement);
int32_t ApplyReplacement(Placement& placement);

}  // namespace osprevan::apply
