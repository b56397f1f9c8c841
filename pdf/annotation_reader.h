// Reading the annotations of a page into comment records, as the user's filter lets them
// through: the two halves of a replace paired, replies hung on the comments they answer,
// review states applied, and each comment's boxes on its page.
#pragma once

#include <cstdint>
#include <vector>

#include "ondrelkit/ondrelkit.h"
#include "pdf/document_context.h"
#include "pdf/filter_criteria.h"
#include "pdf/page_geometry.h"

namespace osprevan::pdf {

// The page box's upper and right edges and the page's rotation; zeros when the library
// cannot give them.
PageValues ReadPageValues(OkPage* page);

// Reads every annotation of `page`, in order, into records of `context` for the page
// `context.pageIndex` with the page values `context.page` (both set by the caller).
void ReadPageComments(DocumentContext& context, OkPage* page, const FilterCriteria& criteria);

// After each page: takes every top-level record whose states fail the criteria out of its page
// list into `context.filteredOut`. Records keep their states until a state annotation changes
// them, so only the current page and the pages of `context.statesChanged` are looked at (the
// same result as looking at every page read so far); `statesChanged` is emptied.
void FilterByReviewState(DocumentContext& context, const FilterCriteria& criteria);

struct AnnotationCount {
  int64_t total = 0;
  int32_t lastPage = -1;             // the last page with an annotation; -1 when there is none
  std::vector<int32_t> pagesNotHad;  // pages the library could not give: annotations unknown
  std::vector<int32_t> pages;        // the pages with at least one annotation, in order
};

// The annotations of the pages firstPage to lastPage (a range past the document's last page
// ends there).
AnnotationCount CountAnnotations(OkDoc* document, int32_t firstPage, int32_t lastPage);

}  // namespace osprevan::pdf
