// The areas a comment covers on its page, from its quadrilaterals or its rectangle.
#pragma once

#include "pdf/page_geometry.h"

namespace osprevan::pdf {

class PdfComment;

// Appends the comment's boxes (on the page as shown, for the fallback and for display) and its
// areas (in user space, for matching the text): one of each for every whole quadrilateral of
// its "QuadPoints", the box widened by kCommentMargin along the text; for a Caret the box of its
// "Rect" and the area of the caret as drawn, the Rect less its "RD" insets; otherwise, when no
// quadrilateral could be read, the annotation's rectangle. A damaged number costs its
// quadrilateral (or the rectangle).
void ReadCommentBoxes(PdfComment& comment, const PageValues& page);

}  // namespace osprevan::pdf
