#include "session/book_import.h"

#include "hostlink/call_refusal.h"
#include "hostlink/document_structure.h"
#include "hostlink/host_ops.h"
#include "hostlink/messages.h"
#include "pdf/pdf_checks.h"
#include "pdf/pdf_parts.h"
#include "session/book_walker.h"
#include "session/component_document.h"
#include "session/document_import.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"

namespace osprevan::session {
namespace {

using tolvane::KindOf;
using tolvane::ObjectId;

// What the walk over one book keeps between components.
struct BookState {
  explicit BookState(const pdf::OpenedPdf& pdf) : parts(pdf::ReadBookComponents(pdf)) {}
  int32_t kidCount() const { return static_cast<int32_t>(parts.kids.size()); }

  const pdf::BookComponents parts;
  int32_t k = 0;
  bool subtreeDone = false;
  bool readOnlyReported = false;
};

// A component runs up to the first page of the next kid that has content of its own, else to
// the end of the PDF. Guard: an end that does not lie after `first` (a damaged page
// reference) is taken as the end of the PDF.
int32_t EndPage(const BookState& book, int32_t first) {
  const int32_t pageCount = book.parts.pageCount;
  for (int32_t next = book.k + 1; next < book.kidCount(); ++next) {
    const pdf::BookComponent& kid = book.parts.kids[static_cast<size_t>(next)];
    if (!kid.hasKids) continue;
    return kid.firstPage > first && kid.firstPage <= pageCount ? kid.firstPage : pageCount;
  }
  return pageCount;
}

// A component's questions; false when the user chose to skip it.
bool ComponentQuestionsPassed(ImportSession& session, ObjectId document,
                              const std::u16string& pdfPath) {
  session.sourceChanged = false;
  return ChangedSourceQuestionsPassed(session, document, pdfPath, kDocumentQuestions);
}

// Places the comments of kid `k` of the top element in `document`.
void ImportComponent(ImportSession& session, const pdf::FilterCriteria& criteria, ObjectId document,
                     BookState& book, ImportRun& run) {
  const pdf::BookComponent& component = book.parts.kids[static_cast<size_t>(book.k)];
  // Guard: a kid without kids of its own, or whose page cannot be found, has no pages here.
  if (!component.hasKids) return;
  const int32_t first = component.firstPage;
  if (first < 0 || first >= book.parts.pageCount) return;
  const int32_t end = EndPage(book, first);

  if (!component.isDocument) {
    hostlink::ShowMessage(session.request.caller, support::MSG_BROKEN_STRUCTURE);
    run.Fail("a component's element is no document", support::MSG_BROKEN_STRUCTURE);
    return;
  }
  if (HostGetInt(document, document, tolvane::P_DOC_READ_ONLY) != 0) {
    // Always an alert, also for a call from another client; once however many refuse.
    if (!book.readOnlyReported) {
      // The book goes on with its other components: the refusal is told, not the run's failure.
      (void)hostlink::RefuseWithAlert(session.request.caller, support::MSG_READ_ONLY,
                                      hostlink::kRefusalReadOnly, "a component is read-only");
      book.readOnlyReported = true;
    }
  } else if (support::Status imported =
                 ImportIntoDocument(session, document, {book.k, first, end - 1}, criteria);
             !imported.ok()) {
    run.Fail(imported);
  }
}

// One entry of the walk: whether it uses up a kid, and the import of a component it names.
void VisitEntry(ImportSession& session, const pdf::FilterCriteria& criteria,
                const std::u16string& pdfPath, const BookWalker& walker, BookState& book,
                ImportRun& run) {
  const ObjectId entry = walker.current();
  const ObjectId holder = walker.parent();
  if (KindOf(entry) == tolvane::KIND_ELEMENT) {
    if (HostGetInt(holder, entry, tolvane::P_ELEM_FILE_REF_MARK) != 0 &&
        !HostGetString(holder, entry, tolvane::P_ELEM_FILE_REF).empty()) {
      ++book.k;
    }
    return;
  }
  if (KindOf(entry) != tolvane::KIND_BOOK_COMPONENT) return;
  const bool nested = walker.InsideNestedContainer();
  // Excluded components were not exported: no kid, and nothing below them counts either.
  if (HostGetInt(holder, entry, tolvane::P_COMP_EXCLUDE) != 0 ||
      (nested && HostGetInt(holder, entry, tolvane::P_COMP_EXCLUDE_NESTED) != 0)) {
    book.subtreeDone = true;
    return;
  }
  book.subtreeDone = false;
  const int32_t type = HostGetInt(holder, entry, tolvane::P_COMP_TYPE);
  if (HostGetInt(holder, entry, tolvane::P_COMP_IS_CONTAINER) != 0 ||
      type == tolvane::COMP_TYPE_GENERATED_LIST || type == tolvane::COMP_TYPE_BOOK ||
      type == tolvane::COMP_TYPE_GENERATED_INDEX) {
    return;
  }
  // Components of nested books have their kids but are never imported.
  if (!nested) {
    const ObjectId document =
        OpenComponentDocument(HostGetString(holder, entry, tolvane::P_COMP_FILE_NAME),
                              HostGetString(holder, entry, tolvane::P_COMP_SECOND_NAME));
    if (document != 0 && ComponentQuestionsPassed(session, document, pdfPath)) {
      ImportComponent(session, criteria, document, book, run);
    }
  }
  ++book.k;
}

}  // namespace

void ImportBook(ImportSession& session, pdf::FilterCriteria& criteria,
                const std::u16string& pdfPath, ImportRun& run) {
  const ObjectId bookId = HostGetId(0, 0, tolvane::P_SESSION_ACTIVE_BOOK);
  // A book's PDF with no book to put it in: said as for a document's PDF, not an empty summary.
  if (!bookId) {
    run.Fail(hostlink::Refuse(session.request.caller, support::MSG_NO_ACTIVE_DOCUMENT,
                              hostlink::kRefusalNoDocument, "no active book"));
    return;
  }
  if (!ChangedSourceQuestionsPassed(session, bookId, pdfPath, kBookQuestions)) return;
  run.importRan = true;

  BookState book(*session.pdf);

  BookWalker walker(bookId);
  // Guard: more components than kids end the walk at the last kid.
  for (ObjectId entry = walker.First(); entry != 0 && book.k < book.kidCount();
       entry = book.subtreeDone ? walker.NextSibling() : walker.Next()) {
    VisitEntry(session, criteria, pdfPath, walker, book, run);
  }
  walker.Close();
}

}  // namespace osprevan::session
