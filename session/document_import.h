// The two stages for one host document: its pages of the PDF are read, then what was read is
// placed into it, and what both found is added to the session.
#pragma once

#include "pdf/filter_criteria.h"
#include "pdf/review_read.h"
#include "session/import_session.h"
#include "support/message_ids.h"
#include "support/status.h"
#include "tolvane/numbers.h"

namespace osprevan::session {

// Reads `part` of the session's PDF and places its comments into `document`. Fails, with
// nothing read or changed, when the part names no page of the PDF.
support::Status ImportIntoDocument(ImportSession& session, tolvane::ObjectId document,
                                   const pdf::ReviewPart& part,
                                   const pdf::FilterCriteria& criteria);

// Asks a question about a changed source; false when the user chose to stop. Going on notes
// the changed source for the usage event.
bool GoOnAfterQuestion(ImportSession& session, int messageId);

// The questions about a target changed since its PDF was made: its file written later, and
// changes not yet saved (the target's property `modified`).
struct ChangedSourceQuestions {
  int sourceNewer;
  int32_t modified;
  int modifiedQuestion;
};
constexpr ChangedSourceQuestions kDocumentQuestions{
    support::MSG_SOURCE_DOC_CHANGED, tolvane::P_DOC_MODIFIED, support::MSG_DOC_CHANGED_OLD_PDF};
constexpr ChangedSourceQuestions kBookQuestions{
    support::MSG_SOURCE_BOOK_CHANGED, tolvane::P_BOOK_MODIFIED, support::MSG_BOOK_CHANGED_OLD_PDF};

// Asks those of the questions that apply to `target`; false when the user chose to stop.
bool ChangedSourceQuestionsPassed(ImportSession& session, tolvane::ObjectId target,
                                  const std::u16string& pdfPath,
                                  const ChangedSourceQuestions& questions);

}  // namespace osprevan::session
