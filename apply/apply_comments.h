// Applies the comments of a range of PDF pages to one host document.
#pragma once

#include <cstdint>

#include "ondrelkit/ondrelkit.h"
#include "pdf/filter_criteria.h"
#include "tolvane/numbers.h"

namespace osprevan::apply {

class ImportContext;

// 1 for arguments that name nothing to do (no document, no PDF, an empty or negative page
// range), else 0.
// PLACEHOLDER: after checking its arguments it does nothing yet; reading the annotations and
// placing them into the document come with the per-document loop.
int32_t ApplyCommentsToDocument(ImportContext& context, tolvane::ObjectId document, OkDoc* pdf,
                                int32_t firstPage, int32_t lastPage,
                                const pdf::FilterCriteria& filter);

}  // namespace osprevan::apply
