// Highlights and underlines as conditional text: the marked text gains the condition
// "TL_PDF_Comments_Highlight" or "TL_PDF_Comments_Underline", which the first such comment of
// a document creates with a fixed look and every later one uses as it stands.
#pragma once

#include <cstdint>

#include "apply/placement.h"
#include "tolvane/numbers.h"

namespace osprevan::apply {

// Each is done when every character of begin..end has the condition (and the comment's marker
// stands at the end when it has replies or contents); a failure keeps its reason in the
// placement. A failed placement leaves the text as it was; a condition it
// created stays in the document's list, unused.
support::Status ApplyHighlight(Placement& placement);
support::Status ApplyUnderline(Placement& placement);

// The first colour of the document's list whose reserved-colour code is `code`; 0 when none.
tolvane::ObjectId FindReservedColour(tolvane::ObjectId document, int32_t code);

}  // namespace osprevan::apply
