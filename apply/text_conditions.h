// Highlights and underlines as conditional text.
#pragma once

#include <cstdint>

#include "apply/placement.h"

namespace osprevan::apply {

// Each answers 0 when the condition is on the text, 1 when it failed and the document is as
// it was.
// PLACEHOLDER: each answers 1 (failed) and changes nothing yet; the conditions come with the
// work on tracked changes and conditions.
int32_t ApplyHighlight(Placement& placement);
int32_t ApplyUnderline(Placement& placement);

}  // namespace osprevan::apply
