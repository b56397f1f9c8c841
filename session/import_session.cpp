#include "session/import_session.h"

#include <optional>

#include "apply/comment_report.h"
#include "apply/import_notices.h"
#include "apply/unread_annotations.h"
#include "apply/unreadable_pages.h"
#include "hostlink/call_refusal.h"
#include "hostlink/document_structure.h"
#include "hostlink/host_ops.h"
#include "hostlink/messages.h"
#include "pdf/filter_criteria.h"
#include "pdf/opened_pdf.h"
#include "pdf/pdf_checks.h"
#include "pdf/pdf_parts.h"
#include "session/book_import.h"
#include "session/document_import.h"
#include "support/file_channel.h"
#include "support/formatted.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"
#include "support/unicode_text.h"
#include "ui/input_dialog.h"
#include "ui/summary.h"

namespace osprevan::session {
namespace {

using tolvane::ObjectId;

// Steps for a PDF made from a single document, once the PDF has passed its checks.
void ImportDocument(ImportSession& session, const pdf::FilterCriteria& criteria,
                    const std::u16string& pdfPath, ImportRun& run) {
  const hostlink::Caller& caller = session.request.caller;
  const ObjectId target = HostGetId(0, 0, tolvane::P_SESSION_ACTIVE_DOC);
  if (!target) {
    run.Fail(hostlink::Refuse(caller, support::MSG_NO_ACTIVE_DOCUMENT, hostlink::kRefusalNoDocument,
                              "no active document"));
    return;
  }
  // Refused before anything is asked or read: nothing is imported into a document that cannot
  // be saved.
  if (HostGetInt(target, target, tolvane::P_DOC_READ_ONLY) != 0) {
    run.Fail(hostlink::RefuseWithAlert(caller, support::MSG_READ_ONLY, hostlink::kRefusalReadOnly,
                                       "the document is read-only"));
    return;
  }
  if (!ChangedSourceQuestionsPassed(session, target, pdfPath, kDocumentQuestions)) return;
  const pdf::ReviewPart whole = pdf::WholePdfPart(*session.pdf);
  if (support::Status imported = ImportIntoDocument(session, target, whole, criteria);
      !imported.ok())
    run.Fail(imported);
  run.importRan = true;
}

// The per-comment report goes where another client asked, else beside the summary file for
// it, and for an interactive import when the preferences ask for it. Never reported to the
// user.
support::Status WriteReportWhenAsked(const ImportSession& session, const std::u16string& pdfPath) {
  const ImportRequest& request = session.request;
  const bool fromClient = request.caller.isOtherClient;
  if (!fromClient && request.preferences.writeReport == 0) return support::Status::Done();
  const std::string path =
      fromClient ? request.pdfPath : support::Utf16ToUtf8(pdfPath).value_or("");
  if (path.empty()) return support::Status::Failed("no path to put the report beside");
  const bool asked = fromClient && request.reportPath.has_value();
  const std::string reportPath = asked ? *request.reportPath : apply::ReportFileName(path);
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
  const apply::OutcomeCounters& counters = session.placing.counters;
  if (counters.alreadyImported > 0) {
    session.notices.push_back(
        apply::ImportNotice{support::UiString(support::MSG_ALREADY_IMPORTED) +
                                support::Format(" %d", counters.alreadyImported),
                            ""});
  }
  // The report's words are English, as its reasons are.
  for (int warning : counters.warnings) {
    const char* reported = warning == support::MSG_OTHER_DOCUMENT
                               ? "the PDF may not have been made from this document"
                               : "";
    session.notices.push_back(apply::ImportNotice{support::UiString(warning), reported});
  }
}

}  // namespace

support::Status RunImport(ImportSession& session) {
  const ImportRequest& request = session.request;
  const hostlink::Caller& caller = request.caller;
  std::optional<support::PhaseTimer> opening;
  opening.emplace(session.placing.phases, support::Phase::Open);
  ui::InputChoice choice;
  if (caller.isOtherClient) {
    // The caller is told why as the menu's user is: a path that names no file to read, then a
    // PDF that does not open. A PDF without its "%PDF-" signature is still tried: the library
    // opens it.
    if (support::Status valid = pdf::ValidatePdfPath(caller, request.pdfPath, false); !valid.ok())
      return valid;
    choice.path = support::Utf8ToUtf16(request.pdfPath).value_or(u"");
  } else if (support::Status chosen = ui::ChooseInputPdf(choice); !chosen.ok()) {
    return chosen;
  }
  const pdf::OpenedPdf pdf(choice.path);
  if (!pdf.status().ok()) {
    // A PDF file that the library does not open is no PDF the import can read, unless it is one
    // that needs a password: then the user and a caller are told so.
    const bool password = pdf.needsPassword();
    return hostlink::Refuse(caller,
                            password ? support::MSG_PDF_NEEDS_PASSWORD : support::MSG_NOT_PDF,
                            password ? hostlink::kRefusalNeedsPassword : hostlink::kRefusalNotPdf,
                            "the PDF does not open", tolvane::ALERT_OK_ONLY);
  }
  pdf::FilterCriteria criteria;  // owns its two dates, freed on every path out
  pdf::PrepareFilterCriteria(choice.path, criteria);
  if (caller.isOtherClient) {
    criteria.knownAuthors.clear();
  } else if (support::Status narrowed = ui::NarrowCriteria(choice, pdf, criteria); !narrowed.ok()) {
    return narrowed;
  }
  const std::u16string& pdfPath = choice.path;
  session.pdf = &pdf;

  ImportRun run;
  if (!pdf::IsTaggedPdf(pdf)) {
    run.Fail(hostlink::Refuse(caller, support::MSG_NOT_TAGGED, hostlink::kRefusalNotTagged,
                              "the PDF is not tagged"));
  } else {
    const pdf::TopElement top = pdf::TopElementKind(pdf);
    const pdf::CreatorCheck creator = pdf::CheckCreator(pdf);
    session.asksQuestions = creator.beforeVersion12 && !caller.isOtherClient;
    opening.reset();
    if (!creator.accepted) {
      run.Fail(hostlink::Refuse(caller, support::MSG_WRONG_CREATOR, hostlink::kRefusalOtherCreator,
                                "the PDF was not made by the host at version 9 or later"));
    } else if (top.isBook) {
      ImportBook(session, criteria, pdfPath, run);
    } else if (top.isDocument) {
      ImportDocument(session, criteria, pdfPath, run);
    } else {
      run.Fail(hostlink::Refuse(caller, support::MSG_BROKEN_STRUCTURE,
                                hostlink::kRefusalBrokenStructure,
                                "the PDF's structure is neither a document's nor a book's"));
    }
  }

  if (run.importRan) {
    CollectNotices(session);
    if (support::Status written = WriteReportWhenAsked(session, pdfPath); !written.ok())
      run.Fail(written.Telling(support::MSG_REPORT_NOT_WRITTEN));
    apply::PrintNotices(session.notices);
    const ui::SummaryTarget summary{caller.isOtherClient, request.summaryPath, request.pdfPath};
    if (support::Status shown = ui::ShowSummary(summary, session.placing.counters, session.notices);
        !shown.ok())
      run.Fail(shown);
  }
  session.pdf = nullptr;
  opening.reset();
  if (request.wantsPhases) HostPrintConsole("\n[phases] " + session.placing.phases.Text());
  return run.status;
}

}  // namespace osprevan::session
