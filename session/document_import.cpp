#include "session/document_import.h"

#include <iterator>

#include "apply/apply_comments.h"
#include "hostlink/answer.h"
#include "hostlink/document_structure.h"
#include "hostlink/host_ops.h"
#include "hostlink/messages.h"
#include "pdf/pdf_checks.h"
#include "support/formatted.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"

namespace osprevan::session {

support::Status ImportIntoDocument(ImportSession& session, tolvane::ObjectId document,
                                   const pdf::ReviewPart& part,
                                   const pdf::FilterCriteria& criteria) {
  const bool structured = hostlink::HighestElement(document) != 0;
  HostUsageEvent("Osprevan", structured ? "StructureDoc" : "UnstructureDoc",
                 session.sourceChanged ? "DocModifiedOrDirty" : "DocNotModifiedOrDirty");
  if (document == 0)
    return support::Status::Failed("no document to place into")
        .Telling(support::MSG_NO_ACTIVE_DOCUMENT);
  if (part.firstPage < 0 || part.firstPage > part.lastPage)
    return support::Status::Failed("the document has no pages in the PDF")
        .Telling(support::MSG_NO_PAGES_IN_PDF);
  const std::string progress = support::UiString(support::MSG_PROGRESS_PAGE);
  const pdf::ReviewRead read =
      pdf::ReadReview(*session.pdf, document, part, criteria, [&](int32_t page) {
        HostSetString(document, document, tolvane::P_DOC_STATUS_BAR,
                      support::Format("%s%d", progress.c_str(), page + 1));
      });
  session.placing.phases += read.phases;
  session.unreadable.textUnread.insert(read.textUnread.begin(), read.textUnread.end());
  session.unreadable.notHad.insert(read.pagesNotHad.begin(), read.pagesNotHad.end());
  for (const auto& [kind, count] : read.unreadKinds) session.unreadKinds[kind] += count;
  session.unreadAnnotations.insert(session.unreadAnnotations.end(), read.unreadAnnotations.begin(),
                                   read.unreadAnnotations.end());
  std::vector<apply::ReportEntry> placed = apply::Place(session.placing, document, read);
  session.report.insert(session.report.end(), std::make_move_iterator(placed.begin()),
                        std::make_move_iterator(placed.end()));
  return support::Status::Done();
}

bool GoOnAfterQuestion(ImportSession& session, int messageId) {
  if (!session.asksQuestions) return true;
  session.sourceChanged = true;
  return hostlink::AskQuestion(messageId) == hostlink::kAnswerContinue;
}

bool ChangedSourceQuestionsPassed(ImportSession& session, tolvane::ObjectId target,
                                  const std::u16string& pdfPath,
                                  const ChangedSourceQuestions& questions) {
  if (pdf::SourceNewerThanPdf(target, pdfPath) &&
      !GoOnAfterQuestion(session, questions.sourceNewer)) {
    return false;
  }
  return HostGetInt(target, target, questions.modified) == 0 ||
         GoOnAfterQuestion(session, questions.modifiedQuestion);
}

}  // namespace osprevan::session
