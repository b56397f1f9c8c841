// A picture of the part of a PDF page around a comment, with the comment's boxes outlined, as
// PNG. The page is drawn as a viewer shows it, turned by its /Rotate, and the boxes (in PDF
// user space) are turned with it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/review_page/pdf_annotations.h"

class PDFDoc;
typedef struct _cairo_surface cairo_surface_t;  // as cairo.h declares it

namespace osprevan::review {

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct PageSnapshot {
  std::string png;                  // empty when the page could not be drawn
  std::vector<PixelRect> outlines;  // each box's bounds in the picture
};

// A whole page drawn once, from which the pictures of the comments on it are cut: drawing a
// page costs far more than cutting from it, and a page holds many comments.
class DrawnPage {
 public:
  DrawnPage(PDFDoc& pdf, int page, double dpi = 96);
  ~DrawnPage();
  DrawnPage(const DrawnPage&) = delete;
  DrawnPage& operator=(const DrawnPage&) = delete;

  // False when the page does not exist or could not be drawn.
  bool ok() const { return surface_ != nullptr; }

  // The region around `boxes`, their bounds widened by `margin` points on each side and to at
  // least `minimumWidth` points along the lines; the page's top when there are no boxes.
  PageSnapshot Around(const std::vector<Quad>& boxes, double margin = 40,
                      double minimumWidth = 360) const;

 private:
  struct Space;
  std::unique_ptr<Space> space_;
  cairo_surface_t* surface_ = nullptr;
};

// Draws page `page` (from 1) and cuts the region around `boxes` from it.
PageSnapshot SnapshotAround(PDFDoc& pdf, int page, const std::vector<Quad>& boxes);

}  // namespace osprevan::review
