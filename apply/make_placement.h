// Turns a comment into a placement located in the host document.
#pragma once

#include "apply/placement.h"
#include "pdf/pdf_comment.h"
#include "tolvane/numbers.h"

namespace osprevan::apply {

// The placement kind of a comment by the kind its subtype reads as, and what it holds: contents
// make a highlight a highlight note, the Caret of its replace a strike-out a replacement.
PlacementKind KindOfComment(const pdf::PdfComment& comment);

Placement MakePlacement(tolvane::ObjectId document, const pdf::PdfComment& comment);

}  // namespace osprevan::apply
