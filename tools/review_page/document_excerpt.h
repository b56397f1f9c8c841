// The document's text around the place a comment went, after the import, as HTML: inserted
// text in <ins>, deleted text in <del>, the highlight and underline conditions and any other
// condition marked, markers shown with their type and text, and the comment's own place
// (a range, or a point as a bar) set apart.
#pragma once

#include <string>

#include "host/engine/document.h"
#include "tools/review_page/review_report.h"

namespace osprevan::review {

// "" when the comment has no place in `document` (it was not placed, or its paragraph is gone).
// Up to `around` characters are shown before and after the place, more to take in whole a
// change that starts or ends within them.
std::string ExcerptHtml(const tlhost::Document& document, const ReportComment& comment,
                        int around = 40);

}  // namespace osprevan::review
