// A page of a PDF as pdftoppm draws it, in colour, and the pixels inside boxes given in
// points with y upward, as the PDF library gives character boxes.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tlhost::pdfexport::testing {

struct Pixel {
  int r = 0;
  int g = 0;
  int b = 0;
};
using PixelTest = std::function<bool(const Pixel&)>;

class RenderedPage {
 public:
  bool Render(const std::string& pdf, int page, const std::string& prefix, int dpi = 100);

  // Pixels inside `box` that pass `test`, less a pixel on each side so that a neighbour's
  // smoothed edge does not count.
  int CountPixels(const float box[4], const PixelTest& test) const;
  // Heights above the box's bottom (points) of the pixel rows inside `box` that pass `test`
  // from side to side (but for a pixel on each end): the lines drawn across it.
  std::vector<double> LineRows(const float box[4], const PixelTest& test) const;

 private:
  struct Area {
    int x0, x1, y0, y1;  // pixels, y downward, ends excluded
  };
  Area AreaOf(const float box[4]) const;
  const Pixel& At(int x, int y) const;

  double scale_ = 1;
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

}  // namespace tlhost::pdfexport::testing
