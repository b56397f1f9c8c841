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

PageSnapshot SnapshotAround(PDFDoc& pdf, int page, const std::vector<Quad>& boxes, double dpi,
                            double margin, double minimumWidth) {
  PageSnapshot snapshot;
  if (page < 1 || page > pdf.getNumPages()) return snapshot;
  Page* p = pdf.getPage(page);
  if (!p) return snapshot;
  EnsurePopplerSettings();
  const DeviceSpace space = SpaceOf(*p, dpi);
  if (space.width <= 0 || space.height <= 0) return snapshot;
  std::vector<PixelRect> bounds;
  PixelRect region{0, 0, space.width, std::min(space.height, static_cast<int>(3 * dpi))};
  for (const Quad& quad : boxes) bounds.push_back(BoundsOf(quad, space));
  if (!bounds.empty()) {
    const int pad = static_cast<int>(margin * dpi / 72.0);
    region = bounds.front();
    for (const PixelRect& b : bounds) {
      region.left = std::min(region.left, b.left), region.top = std::min(region.top, b.top);
      region.right = std::max(region.right, b.right);
      region.bottom = std::max(region.bottom, b.bottom);
    }
    region.left -= pad, region.top -= pad, region.right += pad, region.bottom += pad;
    const int narrowest = static_cast<int>(minimumWidth * dpi / 72.0);
    if (region.right - region.left < narrowest) {
      const int grow = (narrowest - (region.right - region.left)) / 2;
      region.left -= grow, region.right += grow;
    }
    // A comment off the page, or drawn over the whole of it, still gets a picture of a sane
    // size: the region is kept on the page and at most a page high.
    region.left = std::clamp(region.left, 0, space.width - 1);
    region.top = std::clamp(region.top, 0, space.height - 1);
    region.right = std::clamp(region.right, region.left + 1, space.width);
    region.bottom = std::clamp(region.bottom, region.top + 1, space.height);
  }
  const int width = region.right - region.left, height = region.bottom - region.top;
  SplashColor paper = {255, 255, 255, 255};
  SplashOutputDev device(splashModeXBGR8, 4, false, paper);
  device.startDoc(&pdf);
  pdf.displayPageSlice(&device, page, dpi, dpi, 0, false, true, false, region.left, region.top,
                       width, height);
  SplashBitmap* bitmap = device.getBitmap();
  if (!bitmap || bitmap->getWidth() != width || bitmap->getHeight() != height) return snapshot;
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      bitmap->getDataPtr(), CAIRO_FORMAT_RGB24, width, height, bitmap->getRowSize());
  cairo_t* cr = cairo_create(surface);
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
  cairo_surface_flush(surface);
  if (cairo_surface_write_to_png_stream(surface, AppendPng, &snapshot.png) != CAIRO_STATUS_SUCCESS)
    snapshot.png.clear();
  cairo_surface_destroy(surface);
  return snapshot;
}

}  // namespace osprevan::review
