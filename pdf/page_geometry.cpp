#include "pdf/page_geometry.h"

#include <algorithm>

namespace osprevan::pdf {
namespace {

// Sides of a rectangle on the page as shown.
struct ShownRect {
  float left, top, right, bottom;
};

bool Upright(const PageValues& page) {
  return page.pageRotation != 90 && page.pageRotation != 270;
}

// Turns user space into the page as shown. At 0 and 90 these are the conversions the boxes
// were always made with; 180 and 270 are the same conversions turned half a circle, measured
// from the edge that is then at the top or left.
ShownRect Shown(const UserRect& r, const PageValues& page) {
  const float h = page.pageTop;
  const float w = page.pageRight;
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  switch (page.pageRotation) {
    case 90:
      x0 = r.yMin, x1 = r.yMax, y0 = r.xMin, y1 = r.xMax;
      break;
    case 180:
      x0 = w - r.xMax, x1 = w - r.xMin, y0 = r.yMin, y1 = r.yMax;
      break;
    case 270:
      x0 = h - r.yMax, x1 = h - r.yMin, y0 = w - r.xMax, y1 = w - r.xMin;
      break;
    default:
      x0 = r.xMin, x1 = r.xMax, y0 = h - r.yMax, y1 = h - r.yMin;
      break;
  }
  return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

}  // namespace

CommentBox CommentBoxFromRect(const UserRect& rect, const PageValues& page) {
  const ShownRect s = Shown(rect, page);
  CommentBox box;
  box.centreX = (s.left + s.right) / 2 + 1.0f;
  box.centreY = (s.top + s.bottom) / 2 + (Upright(page) ? -1.0f : 1.0f);
  box.left = s.left + (Upright(page) ? 3.5f : 5.0f);
  box.top = s.top;
  box.right = s.right - 2.75f;
  box.bottom = s.bottom;
  return box;
}

CommentBox CharacterBox(const UserRect& rect, const PageValues& page) {
  const ShownRect s = Shown(rect, page);
  CommentBox box;
  box.centreX = (s.left + s.right) / 2 + 0.5f;
  box.centreY = (s.top + s.bottom) / 2 + (Upright(page) ? -1.0f : 1.0f);
  box.left = s.left;
  box.top = s.top;
  box.right = s.right - 1.0f;
  box.bottom = s.bottom;
  return box;
}

CommentBox EmptyElementBox(const PageValues& page) {
  // Wider than the page on every side, turned inside out.
  const float across = Upright(page) ? page.pageRight : page.pageTop;
  const float down = Upright(page) ? page.pageTop : page.pageRight;
  CommentBox box;
  box.left = across + 5.0f;
  box.top = down;
  box.right = -2.75f;
  box.bottom = 0.0f;
  return box;
}

}  // namespace osprevan::pdf
