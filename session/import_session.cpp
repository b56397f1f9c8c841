#include "session/import_session.h"

#include <optional>

#include "apply/comment_report.h"
#include "apply/unread_annotations.h"
#include "apply/unreadable_pages.h"
#include "hostlink/call_refusal.h"
#include "hostlink/command_state.h"
#include "hostlink/document_structure.h"
#include "hostlink/host_ops.h"
#include "hostlink/messages.h"
#include "pdf/filter_criteria.h"
#include "pdf/pdf_document.h"
#include "pdf/structure_tree.h"
#include "session/book_import.h"
#include "session/document_import.h"
#include "support/file_channel.h"
#include "support/formatted.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"
#include "support/unicode_text.h"
#include "ui/import_notices.h"
#include "ui/input_dialog.h"
#include "ui/summary.h"

namespace osprevan::session {
namespace {

using tolvane::ObjectId;

// Steps for a PDF made from a single document, once the PDF has passed its checks.
void ImportDocument(ImportSession& session, const pdf::FilterCriteria& criteria,
                    const std::u16string& pdfPath, ImportRun& run) {
  const ObjectId target = HostGetId(0, 0, tolvane::P_SESSION_ACTIVE_DOC);
  if (!target) {
    hostlink::ShowMessage(support::MSG_NO_ACTIVE_DOCUMENT);
    hostlink::AnswerRefusal(hostlink::kRefusalNoDocument);
    run.Fail("no active document", support::MSG_NO_ACTIVE_DOCUMENT);
    return;
  }
  // Refused before anything is asked or read: nothing is imported into a document that cannot
  // be saved. Always an alert, also for a call from another client.
  if (HostGetInt(target, target, tolvane::P_DOC_READ_ONLY) != 0) {
    HostAlert(support::UiString(support::MSG_READ_ONLY, hostlink::kAlertTextCapacity),
              tolvane::ALERT_MESSAGE);
    hostlink::AnswerRefusal(hostlink::kRefusalReadOnly);
    run.Fail("the document is read-only", support::MSG_READ_ONLY);
    return;
  }
  if (pdf::SourceNewerThanPdf(target, pdfPath) &&
      !GoOnAfterQuestion(session, support::MSG_SOURCE_DOC_CHANGED)) {
    return;
  }
  if (HostGetInt(target, target, tolvane::P_DOC_MODIFIED) != 0 &&
      !GoOnAfterQuestion(session, support::MSG_DOC_CHANGED_OLD_PDF)) {
    return;
  }
  const pdf::StructureTree tree(session.pdf);
  const pdf::ReviewPart whole{tree.Top(), 0, tree.PageCount() - 1};
  if (support::Status imported = ImportIntoDocument(session, tree, target, whole, criteria);
      !imported.ok())
    run.Fail(imported);
  run.importRan = true;
}

// The per-comment report goes where another client asked, else beside the summary file for
// it, and for an interactive import when the preferences ask for it. Never reported to the
// user.
support::Status WriteReportWhenAsked(const ImportSession& session, const std::u16string& pdfPath) {
  const hostlink::CommandState& command = hostlink::Command();
  if (!command.calledFromClient && command.writeReport == 0) return support::Status::Done();
  const std::string path =
      command.calledFromClient ? command.callerPdfPath : support::Utf16ToUtf8(pdfPath).value_or("");
  if (path.empty()) return support::Status::Failed("no path to put the report beside");
  const bool asked = command.calledFromClient && command.callerReportPath.has_value();
  const std::string reportPath = asked ? *command.callerReportPath : apply::ReportFileName(path);
  if (reportPath.empty()) return support::Status::Done();  // the caller asked for none
  return support::ReplaceFile(reportPath, apply::ReportJson(path, session.report, session.notices));
}

// What the import tells beyond its counts, gathered once every document was imported.
void CollectNotices(ImportSession& session) {
  if (auto notice = apply::UnreadablePagesNotice(session.unreadable))
    session.notices.push_back(*notice);
  if (auto notice = apply::UnreadKindsNotice(session.unreadKinds))
    session.notices.push_back(*notice);
  if (auto notice = apply::UnreadAnnotationsNotice(session.unreadAnnotations))
    session.notices.push_back(*notice);
  const ui::OutcomeCounters& counters = session.placing.counters;
  if (counters.alreadyImported > 0) {
    session.notices.push_back(ui::ImportNotice{support::UiString(support::MSG_ALREADY_IMPORTED) +
                                                   support::Format(" %d", counters.alreadyImported),
                                               ""});
  }
  // The report's words are English, as its reasons are.
  for (int warning : counters.warnings) {
    const char* reported = warning == support::MSG_OTHER_DOCUMENT
                               ? "the PDF may not have been made from this document"
                               : "";
    session.notices.push_back(ui::ImportNotice{support::UiString(warning), reported});
  }
}

}  // namespace

support::Status RunImport(ImportSession& session) {
  pdf::FilterCriteria criteria;  // owns its two dates, freed on every path out
  std::u16string pdfPath;
  OkDoc* pdf = nullptr;
  std::optional<support::PhaseTimer> opening;
  opening.emplace(session.placing.phases, support::Phase::Open);
  support::Status chosen = hostlink::Command().calledFromClient
                               ? ui::OpenCallerPdf(pdf, pdfPath, criteria)
                               : ui::ChooseInputPdf(pdf, pdfPath, criteria);
  if (chosen.ok() && (pdfPath.empty() || !pdf)) chosen = support::Status::Failed("no PDF open");
  if (!chosen.ok()) {
    if (pdf) pdf::ClosePdf(pdf);
    return chosen;
  }
  session.pdf = pdf;

  ImportRun run;
  if (!pdf::IsTaggedPdf(pdf)) {
    hostlink::ShowMessage(support::MSG_NOT_TAGGED);
    hostlink::AnswerRefusal(hostlink::kRefusalNotTagged);
    run.Fail("the PDF is not tagged", support::MSG_NOT_TAGGED);
  } else {
    const pdf::TopElement top = pdf::TopElementKind(pdf);
    const pdf::CreatorCheck creator = pdf::CheckCreator(pdf);
    session.asksQuestions = creator.beforeVersion12 && !hostlink::Command().calledFromClient;
    opening.reset();
    if (!creator.accepted) {
      hostlink::ShowMessage(support::MSG_WRONG_CREATOR);
      hostlink::AnswerRefusal(hostlink::kRefusalOtherCreator);
      run.Fail("the PDF was not made by the host at version 9 or later",
               support::MSG_WRONG_CREATOR);
    } else if (top.isBook) {
      ImportBook(session, criteria, pdfPath, run);
    } else if (top.isDocument) {
      ImportDocument(session, criteria, pdfPath, run);
    } else {
      hostlink::ShowMessage(support::MSG_BROKEN_STRUCTURE);
      hostlink::AnswerRefusal(hostlink::kRefusalBrokenStructure);
      run.Fail("the PDF's structure is neither a document's nor a book's",
               support::MSG_BROKEN_STRUCTURE);
    }
  }

  if (run.importRan) {
    CollectNotices(session);
    if (support::Status written = WriteReportWhenAsked(session, pdfPath); !written.ok())
      run.Fail(written.Telling(support::MSG_REPORT_NOT_WRITTEN));
  }
  pdfPath.clear();
  if (run.importRan) {
    ui::PrintNotices(session.notices);
    if (support::Status shown = ui::ShowSummary(session.placing.counters, session.notices);
        !shown.ok())
      run.Fail(shown);
  }
  pdf::ClosePdf(pdf);
  session.pdf = nullptr;
  opening.reset();
  if (hostlink::Command().callerWantsPhases)
    HostPrintConsole("\n[phases] " + session.placing.phases.Text());
  return run.status;
}

}  // namespace osprevan::session
