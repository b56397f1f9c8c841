// Collects the text of one page into content elements, character by character, and ties each
// character to the page's comments as it goes.
#pragma once

#include "ondrelkit/ondrelkit.h"
#include "pdf/document_context.h"
#include "support/status.h"

namespace osprevan::pdf {

// Walks the marked content of `page`, which is page `context.pageIndex` with the values in
// `context.page`. Text outside marked content is not read; text whose marked content leads to
// no paragraph-level structure element is still matched, without an element. Failed when the
// library could not read the page's content: nothing of the page was walked. The owners the text
// met are in `context.pageOwners` afterwards (none when the page could not be read).
support::Status WalkPageContent(DocumentContext& context, OkPage* page);

}  // namespace osprevan::pdf
