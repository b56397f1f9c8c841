#include "session/import_session.h"

#include <array>

#include "apply/apply_comments.h"
#include "apply/structured_blocks.h"
#include "apply/wysiwyg_view.h"
#include "client/command_state.h"
#include "client/host_ops.h"
#include "client/map_test.h"
#include "client/messages.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"
#include "session/book_import.h"
#include "ui/filter_criteria.h"
#include "ui/input_dialog.h"
#include "ui/message_ids.h"
#include "ui/summary.h"
#include "ui/ui_strings.h"

namespace osprevan::session {
namespace {

using tolvane::ObjectId;

constexpr std::array<const char*, 16> kParagraphTypeNames = {
    "P",  "LI", "ListItem", "Caption", "Index", "H",  "H1", "H2",
    "H3", "H4", "H5",       "H6",      "H7",    "H8", "H9", "TOCI"};

int32_t PageCount(OkDoc* pdf) {
  return pdf::Guarded([&] { return pdf::Tables().document->PdfPageCount(pdf); }, 0);
}

OkStructElem* TopStructureElement(OkDoc* pdf) {
  return pdf::Guarded([&] { return pdf::Tables().structRootKid(pdf, 0); },
                      static_cast<OkStructElem*>(nullptr));
}

void ReleaseElement(OkStructElem* element) {
  pdf::Guarded([&] { return pdf::Tables().core->PdfRelease(element), 0; }, 0);
}

// Asks about a changed source; false when the user chose to stop.
bool GoOnAfterQuestion(ImportSession& session, int messageId) {
  if (client::QuestionsAreAsked()) session.sourceChanged = 1;
  return client::AskQuestion(messageId) == client::kAnswerContinue;
}

// Steps for a PDF made from a single document, once the PDF has passed its checks.
void ImportDocument(ImportSession& session, ui::FilterCriteria& criteria,
                    const std::u16string& pdfPath, ImportRun& run) {
  const ObjectId target = HostGetId(0, 0, tolvane::P_SESSION_ACTIVE_DOC);
  if (!target) {
    client::ShowMessage(ui::MSG_NO_ACTIVE_DOCUMENT);
    run.failed = 1;
    return;
  }
  if (pdf::SourceNewerThanPdf(target, pdfPath) &&
      !GoOnAfterQuestion(session, ui::MSG_SOURCE_DOC_CHANGED)) {
    return;
  }
  if (HostGetInt(target, target, tolvane::P_DOC_MODIFIED) != 0 &&
      !GoOnAfterQuestion(session, ui::MSG_DOC_CHANGED_OLD_PDF)) {
    return;
  }
  OkStructElem* top = TopStructureElement(session.pdf);
  apply::CollectBlocks(session, top);
  ReleaseElement(top);
  const int32_t pageCount = PageCount(session.pdf);
  if (HostGetInt(target, target, tolvane::P_DOC_READ_ONLY) != 0) {
    // Always an alert, also for a call from another client: nothing was imported.
    HostAlert(ui::UiString(ui::MSG_READ_ONLY, client::kAlertTextCapacity), tolvane::ALERT_MESSAGE);
  } else {
    const bool structured = client::HighestElement(target) != 0;
    HostUsageEvent("Osprevan", structured ? "StructureDoc" : "UnstructureDoc",
                   session.sourceChanged ? "DocModifiedOrDirty" : "DocNotModifiedOrDirty");
    if (apply::ApplyCommentsToDocument(session, target, session.pdf, 0, pageCount - 1, criteria) ==
        1) {
      run.failed = 1;
    }
    run.importRan = true;
  }
  session.ClearDocumentCollections();
}

}  // namespace

ImportSession::ImportSession() {
  const pdf::PdfTables& t = pdf::Tables();
  if (!t.core) return;
  pdf::Guarded(
      [&] {
        for (const char* name : kParagraphTypeNames)
          paragraphTypes.push_back(t.core->PdfAtom(name));
        return 0;
      },
      0);
}

ImportSession::~ImportSession() {
  apply::RestoreView(*this);
}

void ImportSession::ClearDocumentCollections() {
  document = 0;
}

int32_t RunImport(ImportSession& session) {
  ui::FilterCriteria criteria;  // owns its two dates, freed on every path out
  std::u16string pdfPath;
  OkDoc* pdf = nullptr;
  const int32_t chosen = client::Command().calledFromClient == 1
                             ? ui::OpenCallerPdf(pdf, pdfPath, criteria)
                             : ui::ChooseInputPdf(pdf, pdfPath, criteria);
  if (chosen != 0 || pdfPath.empty() || !pdf) {
    if (pdf) pdf::ClosePdf(pdf);
    return 1;
  }
  session.pdf = pdf;

  ImportRun run;
  if (!pdf::IsTaggedPdf(pdf)) {
    client::ShowMessage(ui::MSG_NOT_TAGGED);
    run.failed = 1;
  } else {
    session.hasRoleMap = pdf::HasRoleMap(pdf) ? 1 : 0;
    const pdf::TopElement top = pdf::TopElementKind(pdf);
    session.isBook = top.isBook ? 1 : 0;
    session.isDocument = top.isDocument ? 1 : 0;
    if (pdf::CheckCreator(pdf) != 0) {
      client::ShowMessage(ui::MSG_WRONG_CREATOR);
      run.failed = 1;
    } else if (session.isBook) {
      ImportBook(session, criteria, run);
    } else if (session.isDocument) {
      ImportDocument(session, criteria, pdfPath, run);
    } else {
      client::ShowMessage(ui::MSG_BROKEN_STRUCTURE);
      run.failed = 1;
    }
  }

  pdfPath.clear();
  if (run.importRan) ui::ShowSummary(session.counters);
  pdf::ClosePdf(pdf);
  session.pdf = nullptr;
  return run.failed;
}

}  // namespace osprevan::session
