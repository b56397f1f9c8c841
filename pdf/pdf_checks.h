// The checks made on the chosen PDF before any comment is read: a path that names a PDF, tagged,
// made by the host at version 9 or later, a document or a book, and whether the source changed
// since.
#pragma once

#include <string>

#include "hostlink/caller.h"
#include "pdf/opened_pdf.h"
#include "support/status.h"
#include "tolvane/numbers.h"

namespace osprevan::pdf {

// Whether the path names a file that may be read as a PDF: there, no folder, readable, not
// empty and, with `signature`, starting with "%PDF-". Otherwise shows message 14 (nothing there)
// or 15 (no PDF) as an alert with only an OK button, or on the console when another client runs
// the import, answers such a caller why (hostlink::CallRefusal) and refuses.
support::Status ValidatePdfPath(const hostlink::Caller& caller, const std::string& path,
                                bool signature = true);

bool IsTaggedPdf(const OpenedPdf& pdf);

struct TopElement {
  bool isBook = false;
  bool isDocument = false;
};
TopElement TopElementKind(const OpenedPdf& pdf);

// What the Creator entry tells of the PDF's maker.
struct CreatorCheck {
  bool accepted = false;         // the host at version 9 or later
  bool beforeVersion12 = false;  // an accepted PDF of a host before version 12
};
CreatorCheck CheckCreator(const OpenedPdf& pdf);
// The same test on a Creator text, for callers that have one.
CreatorCheck CheckCreatorText(const std::string& creator);

// Whether the host document's file was last written after the PDF file was created. A time
// that cannot be read counts as "not newer": the question is then not asked.
bool SourceNewerThanPdf(tolvane::ObjectId document, const std::u16string& pdfPath);

}  // namespace osprevan::pdf
