// Turns a comment into a placement located in the host document.
#pragma once

#include "apply/placement.h"
#include "pdf/pdf_comment.h"
#include "tolvane/numbers.h"

namespace osprevan::apply {

// The placement kind of a comment by its subtype.
PlacementKind KindOfComment(const pdf::PdfComment& comment);

Placement MakePlacement(tolvane::ObjectId document, const pdf::PdfComment& comment);

}  // namespace osprevan::apply
