#include "apply/apply_comments.h"

#include "apply/import_context.h"

namespace osprevan::apply {

int32_t ApplyCommentsToDocument(ImportContext& context, tolvane::ObjectId document, OkDoc* pdf,
                                int32_t firstPage, int32_t lastPage, const pdf::FilterCriteria&) {
  if (document == 0 || !pdf || firstPage > lastPage || firstPage < 0) return 1;
  context.document = document;
  return 0;
}

}  // namespace osprevan::apply
