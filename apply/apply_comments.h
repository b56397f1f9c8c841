// Applies the comments of a range of PDF pages to one host document.
#pragma once

#include <cstdint>

#include "ondrelkit/ondrelkit.h"
#include "pdf/filter_criteria.h"
#include "tolvane/numbers.h"

namespace osprevan::apply {

class ImportContext;

// Reads the comments of the pages from `firstPage` to `lastPage`, turns each into a placement
// located in the document, and applies them in their order, counting every outcome. 1 for
// arguments that name nothing to do (no document, no PDF, an empty or negative page range),
// else 0; pages without annotations change nothing.
int32_t ApplyCommentsToDocument(ImportContext& context, tolvane::ObjectId document, OkDoc* pdf,
                                int32_t firstPage, int32_t lastPage,
                                const pdf::FilterCriteria& filter);

}  // namespace osprevan::apply
