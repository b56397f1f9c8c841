#include "tools/review_page/page_snapshot.h"

#include <PDFDoc.h>
#include <Page.h>
#include <SplashOutputDev.h>
#include <cairo.h>
#include <splash/SplashBitmap.h>

#include <algorithm>
#include <cmath>

#include "tools/review_page/poppler_settings.h"

namespace osprevan::review {
namespace {

// The longest side, in pixels, a page is drawn at.
constexpr double kLongestSide = 3000;

// The device space of a whole page drawn upside down at `dpi`, which is how Splash draws it.
struct DeviceSpace {
  double ctm[6] = {1, 0, 0, 1, 0, 0};
  int width = 0, height = 0;

  void Map(double x, double y, double& dx, double& dy) const {
    dx = ctm[0] * x + ctm[2] * y + ctm[4];
    dy = ctm[1] * x + ctm[3] * y + ctm[5];
  }
};

DeviceSpace SpaceOf(Page& page, double dpi) {
  DeviceSpace space;
  page.getDefaultCTM(space.ctm, dpi, dpi, 0, false, true);
  const bool turned = page.getRotate() == 90 || page.getRotate() == 270;
  const double w = (turned ? page.getCropHeight() : page.getCropWidth()) * dpi / 72.0;
  const double h = (turned ? page.getCropWidth() : page.getCropHeight()) * dpi / 72.0;
  space.width = static_cast<int>(std::ceil(w));
  space.height = static_cast<int>(std::ceil(h));
  return space;
}

PixelRect BoundsOf(const Quad& quad, const DeviceSpace& space) {
  double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
  for (int k = 0; k < 4; ++k) {
    double x, y;
    space.Map(quad.x[k], quad.y[k], x, y);
    left = std::min(left, x), right = std::max(right, x);
    top = std::min(top, y), bottom = std::max(bottom, y);
  }
  auto clamp = [](double v) { return static_cast<int>(std::clamp(v, -1e6, 1e6)); };
  return {clamp(std::floor(left)), clamp(std::floor(top)), clamp(std::ceil(right)),
          clamp(std::ceil(bottom))};
}

cairo_status_t AppendPng(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

struct DrawnPage::Space : DeviceSpace {
  double dpi = 96;
};

DrawnPage::DrawnPage(PDFDoc& pdf, int page, double dpi) : space_(std::make_unique<Space>()) {
  if (page < 1 || page > pdf.getNumPages() || !pdf.getPage(page)) return;
  EnsurePopplerSettings();
  // A page of crafted size would make a drawing of gigabytes: it is drawn smaller instead.
  Page& p = *pdf.getPage(page);
  const double longest = std::max(p.getCropWidth(), p.getCropHeight()) * dpi / 72.0;
  if (!(longest <= kLongestSide)) dpi = longest > 0 ? dpi * kLongestSide / longest : 0;
  if (dpi <= 0) return;
  static_cast<DeviceSpace&>(*space_) = SpaceOf(p, dpi);
  space_->dpi = dpi;
  if (space_->width <= 0 || space_->height <= 0) return;
  SplashColor paper = {255, 255, 255, 255};
  SplashOutputDev device(splashModeXBGR8, 4, false, paper);
  device.startDoc(&pdf);
  pdf.displayPage(&device, page, dpi, dpi, 0, false, true, false);
  SplashBitmap* bitmap = device.getBitmap();
  if (!bitmap || bitmap->getWidth() <= 0 || bitmap->getHeight() <= 0) return;
  // The device rounds the page's size its own way; its bitmap is the page.
  space_->width = bitmap->getWidth();
  space_->height = bitmap->getHeight();
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, space_->width, space_->height);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
    return;
  }
  cairo_surface_flush(surface_);
  unsigned char* to = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  const size_t row = static_cast<size_t>(space_->width) * 4;
  for (int y = 0; y < space_->height; ++y)
    std::copy_n(bitmap->getDataPtr() + static_cast<ptrdiff_t>(y) * bitmap->getRowSize(), row,
                to + static_cast<ptrdiff_t>(y) * stride);
  cairo_surface_mark_dirty(surface_);
}

DrawnPage::~DrawnPage() {
  if (surface_) cairo_surface_destroy(surface_);
}

PageSnapshot DrawnPage::Around(const std::vector<Quad>& boxes, double margin,
                               double minimumWidth) const {
  PageSnapshot snapshot;
  if (!surface_) return snapshot;
  const DeviceSpace& space = *space_;
  const double dpi = space_->dpi;
  std::vector<PixelRect> bounds;
  PixelRect region{0, 0, space.width, std::max(1, space.height / 3)};  // the page's top
  for (const Quad& quad : boxes) bounds.push_back(BoundsOf(quad, space));
  if (!bounds.empty()) {
    const int pad = static_cast<int>(margin * dpi / 72.0);
    region = bounds.front();
    for (const PixelRect& b : bounds) {
      region.left = std::min(region.left, b.left), region.top = std::min(region.top, b.top);
      region.right = std::max(region.right, b.right);
      region.bottom = std::max(region.bottom, b.bottom);
    }
    // On a page turned by a quarter the lines run down the picture: the region grows along
    // them, so that the words around the comment are in it.
    const bool linesRunDown = region.bottom - region.top > region.right - region.left;
    region.left -= pad, region.top -= pad, region.right += pad, region.bottom += pad;
    const int narrowest = static_cast<int>(minimumWidth * dpi / 72.0);
    int& from = linesRunDown ? region.top : region.left;
    int& to = linesRunDown ? region.bottom : region.right;
    if (to - from < narrowest) {
      const int grow = (narrowest - (to - from)) / 2;
      from -= grow, to += grow;
    }
    // A comment off the page, or drawn over the whole of it, still gets a picture of a sane
    // size: the region is kept on the page and at most a page high.
    region.left = std::clamp(region.left, 0, space.width - 1);
    region.top = std::clamp(region.top, 0, space.height - 1);
    region.right = std::clamp(region.right, region.left + 1, space.width);
    region.bottom = std::clamp(region.bottom, region.top + 1, space.height);
  }
  const int width = region.right - region.left, height = region.bottom - region.top;
  cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(picture);
  cairo_set_source_surface(cr, surface_, -region.left, -region.top);
  cairo_paint(cr);
  cairo_set_source_rgba(cr, 0.85, 0.1, 0.1, 0.9);
  cairo_set_line_width(cr, 2.0);
  // Each box is outlined by its bounds: quadrilaterals come in either corner order, and one
  // written "crossed" (upper left, upper right, lower left, lower right) would be a bow tie.
  for (const PixelRect& b : bounds) {
    cairo_rectangle(cr, b.left - region.left - 1.5, b.top - region.top - 1.5,
                    b.right - b.left + 3.0, b.bottom - b.top + 3.0);
    snapshot.outlines.push_back(
        {b.left - region.left, b.top - region.top, b.right - region.left, b.bottom - region.top});
  }
  cairo_stroke(cr);
  cairo_destroy(cr);
  cairo_surface_flush(picture);
  if (cairo_surface_write_to_png_stream(picture, AppendPng, &snapshot.png) != CAIRO_STATUS_SUCCESS)
    snapshot.png.clear();
  cairo_surface_destroy(picture);
  return snapshot;
}

PageSnapshot SnapshotAround(PDFDoc& pdf, int page, const std::vector<Quad>& boxes) {
  return DrawnPage(pdf, page).Around(boxes);
}

}  // namespace osprevan::review
