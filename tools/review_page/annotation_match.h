// Which annotation of the PDF each comment of the report is: the report names a comment by its
// page, kind, author, date and text, not by its object, so the best fit on its page is taken,
// each annotation once.
#pragma once

#include <map>
#include <vector>

#include "tools/review_page/pdf_annotations.h"
#include "tools/review_page/review_report.h"

namespace osprevan::review {

using AnnotationsByPage = std::map<int, std::vector<PageAnnotation>>;

// For each comment of `comments`, in order, its annotation or null when none on its page fits
// (an author or a text of its own at least, beyond the page).
std::vector<const PageAnnotation*> MatchAnnotations(const std::vector<ReportComment>& comments,
                                                    const AnnotationsByPage& annotations);

}  // namespace osprevan::review
