// The areas a comment covers on its page, from its quadrilaterals or its rectangle.
#pragma once

#include "pdf/page_geometry.h"

namespace osprevan::pdf {

class PdfComment;

// Appends the comment's boxes: one for each whole quadrilateral of its "QuadPoints", widened by
// kCommentMargin on the sides that are left and right on the page as shown; for a Caret one box
// from its "Rect" alone; otherwise, when no quadrilateral could be read, one box from the
// annotation's rectangle. A damaged number costs its quadrilateral (or the rectangle's box).
void ReadCommentBoxes(PdfComment& comment, const PageValues& page);

}  // namespace osprevan::pdf
