#include "pdf/page_reading.h"

#include "pdf/annotation_reader.h"
#include "pdf/content_groups.h"
#include "pdf/content_walk.h"
#include "pdf/page_end_fallback.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"
#include "pdf/point_comments.h"

namespace osprevan::pdf {

OkPage* BeginPage(DocumentContext& context, OkDoc* pdf, int32_t pageIndex,
                  const FilterCriteria& filter) {
  OkPage* page = Guarded([&] { return Tables().pages->PdfAcquirePage(pdf, pageIndex); },
                         static_cast<OkPage*>(nullptr));
  if (!page) return nullptr;
  context.document = pdf;
  context.pageIndex = pageIndex;
  context.page = ReadPageValues(page);
  ReadPageComments(context, page, filter);
  FilterByReviewState(context, filter);
  return page;
}

support::Status FinishPage(DocumentContext& context, OkPage* page) {
  support::Status read = WalkPageContent(context, page);
  // Without the page's text there is nothing near to place a comment on.
  if (read.ok()) {
    PlacePointComments(context);
    PageEndFallback(context);
  }
  // Boxes serve matching and the fallback on their own page only.
  for (ContentElement* element : context.pageElements) element->chars.DropBoxes();
  context.pageElements.clear();
  Guarded([&] { return Tables().pages->PdfReleasePage(page), 0; }, 0);
  return read;
}

void SkipPage(DocumentContext& context, OkPage* page, const PageOwners& owners) {
  CountUnwalkedPage(context, owners);
  Guarded([&] { return Tables().pages->PdfReleasePage(page), 0; }, 0);
}

std::vector<int32_t> ReadPages(DocumentContext& context, OkDoc* pdf, int32_t firstPage,
                               int32_t lastPage, const FilterCriteria& filter) {
  std::vector<int32_t> unread;
  for (int32_t index = firstPage; index <= lastPage; ++index) {
    OkPage* page = BeginPage(context, pdf, index, filter);
    if (!page || !FinishPage(context, page).ok()) unread.push_back(index);
  }
  return unread;
}

}  // namespace osprevan::pdf
