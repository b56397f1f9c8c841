#include "pdf/page_reading.h"

#include "pdf/annotation_reader.h"
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

void FinishPage(DocumentContext& context, OkPage* page) {
  WalkPageContent(context, page);
  PlacePointComments(context);
  PageEndFallback(context);
  // Boxes serve matching and the fallback on their own page only.
  for (ContentElement* element : context.pageElements) element->chars.DropBoxes();
  context.pageElements.clear();
  Guarded([&] { return Tables().pages->PdfReleasePage(page), 0; }, 0);
}

void ReadPages(DocumentContext& context, OkDoc* pdf, int32_t firstPage, int32_t lastPage,
               const FilterCriteria& filter) {
  for (int32_t index = firstPage; index <= lastPage; ++index) {
    if (OkPage* page = BeginPage(context, pdf, index, filter)) FinishPage(context, page);
  }
}

}  // namespace osprevan::pdf
