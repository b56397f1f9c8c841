// A picture of the part of a PDF page around a comment, with the comment's boxes outlined, as
// PNG. The page is drawn as a viewer shows it, turned by its /Rotate, and the boxes (in PDF
// user space) are turned with it.
#pragma once

#include <string>
#include <vector>

#include "tools/review_page/pdf_annotations.h"

class PDFDoc;

namespace osprevan::review {

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct PageSnapshot {
  std::string png;                  // empty when the page could not be drawn
  std::vector<PixelRect> outlines;  // each box's bounds in the picture
};

// Draws the region of page `page` (from 1) around `boxes` at `dpi`, the boxes' bounds widened
// by `margin` points on each side and to at least `minimumWidth` points across; the whole
// page's top when there are no boxes.
PageSnapshot SnapshotAround(PDFDoc& pdf, int page, const std::vector<Quad>& boxes, double dpi = 96,
                            double margin = 40, double minimumWidth = 360);

}  // namespace osprevan::review
