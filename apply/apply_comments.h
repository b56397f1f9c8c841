// The second of the import's two stages: placing what was read of one host document's pages
// into that document.
#pragma once

#include <vector>

#include "apply/comment_report.h"
#include "pdf/review_read.h"
#include "tolvane/numbers.h"

namespace osprevan::apply {

class ImportContext;

// Turns each comment read into a placement located in `document` and applies them in their
// order, counting every outcome in the context. Answers what became of every comment read, in
// the order decided; nothing for no document or a reading without annotations, which leave the
// document and the user's view as they were.
std::vector<ReportEntry> Place(ImportContext& context, tolvane::ObjectId document,
                               const pdf::ReviewRead& read);

}  // namespace osprevan::apply
