// Reading the PDF page by page for one document: the annotations of a page become records,
// the state filter runs, the page text is tied to the comments, and comments still without a
// place get the nearest element. The placing loop shows its progress between the two halves.
#pragma once

#include <cstdint>
#include <vector>

#include "ondrelkit/ondrelkit.h"
#include "pdf/document_context.h"
#include "pdf/filter_criteria.h"
#include "support/status.h"

namespace osprevan::pdf {

// Acquires the page, keeps its values in the context, reads its annotations and runs the
// state filter. Null when the page cannot be had; nothing is read then.
OkPage* BeginPage(DocumentContext& context, OkDoc* pdf, int32_t pageIndex,
                  const FilterCriteria& filter);

// Walks the page's text, places what is still without a range, and releases the page. Not done
// when the library could not read the page's text: its comments keep no range then.
support::Status FinishPage(DocumentContext& context, OkPage* page);

// Instead of FinishPage, for a page whose content is not walked (one without annotations, so
// without comments): counts what its parent tree names, `owners`, and releases the page.
void SkipPage(DocumentContext& context, OkPage* page, const PageOwners& owners);

// Both halves for every page from `firstPage` to `lastPage`; pages that cannot be had are
// passed over. Answers the pages (from 0) that could not be had or whose text could not be read.
std::vector<int32_t> ReadPages(DocumentContext& context, OkDoc* pdf, int32_t firstPage,
                               int32_t lastPage, const FilterCriteria& filter);

}  // namespace osprevan::pdf
