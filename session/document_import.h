// The two stages for one host document: its pages of the PDF are read, then what was read is
// placed into it, and what both found is added to the session.
#pragma once

#include "pdf/filter_criteria.h"
#include "pdf/review_read.h"
#include "pdf/structure_tree.h"
#include "session/import_session.h"
#include "support/status.h"
#include "tolvane/numbers.h"

namespace osprevan::session {

// Reads `part` of the session's PDF and places its comments into `document`. Fails, with
// nothing read or changed, when the part names no page of the PDF.
support::Status ImportIntoDocument(ImportSession& session, const pdf::StructureTree& tree,
                                   tolvane::ObjectId document, const pdf::ReviewPart& part,
                                   const pdf::FilterCriteria& criteria);

// Asks a question about a changed source; false when the user chose to stop. Going on notes
// the changed source for the usage event.
bool GoOnAfterQuestion(ImportSession& session, int messageId);

}  // namespace osprevan::session
