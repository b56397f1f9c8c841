#include "apply/apply_comments.h"

#include "session/import_session.h"

namespace osprevan::apply {

int32_t ApplyCommentsToDocument(session::ImportSession& session, tolvane::ObjectId document,
                                OkDoc* pdf, int32_t firstPage, int32_t lastPage,
                                const ui::FilterCriteria&) {
  if (document == 0 || !pdf || firstPage > lastPage || firstPage < 0) return 1;
  session.document = document;
  return 0;
}

}  // namespace osprevan::apply
