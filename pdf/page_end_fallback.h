// Places the comments of a page that no character matched on the content element nearest to
// them, once the page's text has been walked.
#pragma once

#include "pdf/document_context.h"

namespace osprevan::pdf {

// Runs over the top-level comments of page `context.pageIndex`. Such comments are marked
// approximate, and every comment that had no range here is unconfirmed.
void PageEndFallback(DocumentContext& context);

}  // namespace osprevan::pdf
