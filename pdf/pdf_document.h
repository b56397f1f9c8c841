// Opening the chosen PDF and the checks made on it before any comment is read: tagged, made by
// the host at version 9 or later, a document or a book, and whether the source changed since.
#pragma once

#include <cstdint>
#include <string>

#include "hostlink/caller.h"
#include "ondrelkit/ondrelkit.h"
#include "support/status.h"
#include "tolvane/numbers.h"

namespace osprevan::pdf {

// Whether the path names a file that may be read as a PDF: there, no folder, readable, not
// empty and, with `signature`, starting with "%PDF-". Otherwise shows message 14 (nothing there)
// or 15 (no PDF) as an alert with only an OK button, or on the console when another client runs
// the import, answers such a caller why (hostlink::CallRefusal) and refuses.
support::Status ValidatePdfPath(const hostlink::Caller& caller, const std::string& path,
                                bool signature = true);

// The open document, or null (a library error is recorded and dropped, nothing is shown).
OkDoc* OpenPdfByPath(const std::u16string& path);
void ClosePdf(OkDoc* document);

bool IsTaggedPdf(OkDoc* document);
// Whether the structure tree has a role map; false where the library cannot tell.
bool HasRoleMap(OkDoc* document);

struct TopElement {
  bool isBook = false;
  bool isDocument = false;
};
TopElement TopElementKind(OkDoc* document);

// What the Creator entry tells of the PDF's maker.
struct CreatorCheck {
  bool accepted = false;         // the host at version 9 or later
  bool beforeVersion12 = false;  // an accepted PDF of a host before version 12
};
CreatorCheck CheckCreator(OkDoc* document);
// The same test on a Creator text, for callers that have one.
CreatorCheck CheckCreatorText(const std::string& creator);

// Whether the host document's file was last written after the PDF file was created. A time
// that cannot be read counts as "not newer": the question is then not asked.
bool SourceNewerThanPdf(tolvane::ObjectId document, const std::u16string& pdfPath);

}  // namespace osprevan::pdf
