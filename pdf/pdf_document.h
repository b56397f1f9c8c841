// Opening a PDF by its path in the library, and what reading asks of the open document. The
// layers above open one through pdf::OpenedPdf and check it with pdf/pdf_checks.h.
#pragma once

#include <string>

#include "ondrelkit/ondrelkit.h"

namespace osprevan::pdf {

// The open document, or null (a library error is recorded and dropped, nothing is shown).
OkDoc* OpenPdfByPath(const std::u16string& path);
void ClosePdf(OkDoc* document);

// Whether the structure tree has a role map; false where the library cannot tell.
bool HasRoleMap(OkDoc* document);

}  // namespace osprevan::pdf
