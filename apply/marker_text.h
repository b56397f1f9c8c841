// The text of a "Comment" marker: one line of fields for the comment (its kind, where it was
// meant to go when that is doubtful, author, date, its own text, the PDF text it marked),
// followed by one line per reply.
#pragma once

#include <string>

#include "apply/placement.h"
#include "pdf/pdf_comment.h"

namespace osprevan::apply {

// The whole marker text, beginning "TL_PDF_Comment: ". The comment's texts are never cut.
std::string ComposeMarkerText(const Placement& placement);

// One line per reply of `comment`, in order, each reply followed by its own replies one blank
// further in; `depth` blanks before the first level. "" when there is no reply.
std::string ComposeReplyThread(const Placement& placement, const pdf::PdfComment& comment,
                               int depth);

}  // namespace osprevan::apply
