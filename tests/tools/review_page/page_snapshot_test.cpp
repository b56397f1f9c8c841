#include "tools/review_page/page_snapshot.h"

#include <PDFDoc.h>
#include <cairo.h>
#include <gtest/gtest.h>

#include <memory>

#include "review_pipeline.h"
#include "reviewed_pdf.h"
#include "tools/review_page/poppler_settings.h"

namespace osprevan::review {
namespace {

using fixtures::ReviewedPdf;
using testing::MillDocument;

// The document exported with its first page turned by `degrees` and reviewed as `review` says.
void Review(ReviewedPdf& pdf, const std::string& second, const std::string& review,
            int degrees = 0) {
  tlhost::pdfexport::ExportOptions options;
  options.pageRotation[0] = degrees;
  ASSERT_TRUE(pdf.ExportText(MillDocument(second), {}, options)) << pdf.error();
  ASSERT_TRUE(pdf.Review(review)) << pdf.error();
}

struct Png {
  explicit Png(const std::string& bytes) : bytes_(bytes) {
    surface = cairo_image_surface_create_from_png_stream(Read, this);
  }
  ~Png() { cairo_surface_destroy(surface); }
  bool ok() const { return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS; }
  int width() const { return cairo_image_surface_get_width(surface); }
  int height() const { return cairo_image_surface_get_height(surface); }
  // Pixels inside `r` (shrunk by the outline's width) darker than the highlight and paper.
  int DarkPixels(const PixelRect& r) const {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    int dark = 0;
    for (int y = std::max(r.top + 2, 0); y < std::min(r.bottom - 2, height()); ++y) {
      for (int x = std::max(r.left + 2, 0); x < std::min(r.right - 2, width()); ++x) {
        const uint32_t p = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
        const int red = (p >> 16) & 255, green = (p >> 8) & 255, blue = p & 255;
        if (red < 110 && green < 110 && blue < 110) ++dark;
      }
    }
    return dark;
  }

  cairo_surface_t* surface = nullptr;

 private:
  static cairo_status_t Read(void* closure, unsigned char* data, unsigned int length) {
    auto* self = static_cast<Png*>(closure);
    if (self->bytes_.size() - self->at_ < length) return CAIRO_STATUS_READ_ERROR;
    std::copy_n(self->bytes_.data() + self->at_, length, data);
    self->at_ += length;
    return CAIRO_STATUS_SUCCESS;
  }
  std::string bytes_;
  size_t at_ = 0;
};

// On a page turned by /Rotate the boxes must turn with the page: the outline then lies over
// the highlighted words (ink inside it), and a line of text runs across the picture upright
// or turned by half, down it when turned by a quarter.
TEST(SnapshotAround, OutlinesTheCommentOnEveryTurnOfThePage) {
  for (const int degrees : {0, 90, 180, 270}) {
    SCOPED_TRACE(degrees);
    ReviewedPdf reviewed;
    Review(reviewed, "The lamps were lit one by one.",
           R"({"comments": [{"kind": "highlight", "find": "counted sacks of grain",
               "author": "Kim"}]})",
           degrees);
    if (HasFatalFailure()) return;
    const std::string pdfPath = reviewed.annotatedPdf();
    EnsurePopplerSettings();
    PDFDoc pdf(std::make_unique<GooString>(pdfPath));
    ASSERT_TRUE(pdf.isOk());
    const std::vector<PageAnnotation> annotations = ReadPageAnnotations(pdf, 1);
    ASSERT_EQ(annotations.size(), 1u);
    ASSERT_FALSE(annotations[0].boxes.empty());
    const PageSnapshot snapshot = SnapshotAround(pdf, 1, annotations[0].boxes);
    const Png png(snapshot.png);
    ASSERT_TRUE(png.ok());
    ASSERT_EQ(snapshot.outlines.size(), annotations[0].boxes.size());
    const PixelRect& box = snapshot.outlines[0];
    EXPECT_GE(box.left, 0);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, png.width());
    EXPECT_LE(box.bottom, png.height());
    const int across = box.right - box.left, down = box.bottom - box.top;
    if (degrees % 180 == 0) {
      EXPECT_GT(across, 3 * down);
    } else {
      EXPECT_GT(down, 3 * across);
    }
    EXPECT_GT(png.DarkPixels(box), 30);
  }
}

// A comment drawn far off the page, or no box at all, still gives a picture of the page.
TEST(SnapshotAround, KeepsTheRegionOnThePage) {
  ReviewedPdf reviewed;
  Review(reviewed, "Short.",
         R"({"comments": [{"kind": "note", "point": [300, 120], "page": 0, "author": "Kim"}]})");
  if (HasFatalFailure()) return;
  const std::string pdfPath = reviewed.annotatedPdf();
  EnsurePopplerSettings();
  PDFDoc pdf(std::make_unique<GooString>(pdfPath));
  ASSERT_TRUE(pdf.isOk());
  Quad far;
  for (int k = 0; k < 4; ++k) far.x[k] = 1e7 + k, far.y[k] = -1e7 - k;
  for (const std::vector<Quad>& boxes : {std::vector<Quad>{far}, std::vector<Quad>{}}) {
    const PageSnapshot snapshot = SnapshotAround(pdf, 1, boxes);
    const Png png(snapshot.png);
    ASSERT_TRUE(png.ok());
    EXPECT_GT(png.width(), 0);
    EXPECT_LE(png.width(), 2000);
    EXPECT_LE(png.height(), 2000);
  }
  EXPECT_TRUE(SnapshotAround(pdf, 2, {}).png.empty());  // no such page
}

// A page of a crafted, enormous size is drawn smaller, not at gigabytes.
TEST(SnapshotAround, DrawsAnEnormousPageSmaller) {
  ReviewedPdf reviewed;
  Review(reviewed, "Short.",
         R"({"comments": [{"kind": "highlight", "find": "old mill", "author": "Kim"}]})");
  if (HasFatalFailure()) return;
  ASSERT_TRUE(fixtures::EditPdf(reviewed.annotatedPdf(),
                                "doc.xref_set_key(doc[0].xref, 'MediaBox', '[0 0 900000 900000]')\n"
                                "doc.xref_set_key(doc[0].xref, 'CropBox', '[0 0 900000 900000]')"));
  EnsurePopplerSettings();
  PDFDoc pdf(std::make_unique<GooString>(reviewed.annotatedPdf()));
  ASSERT_TRUE(pdf.isOk());
  const PageSnapshot snapshot = SnapshotAround(pdf, 1, {});
  const Png png(snapshot.png);
  ASSERT_TRUE(png.ok());
  EXPECT_LE(png.width(), 3000);
  EXPECT_LE(png.height(), 3000);
}

}  // namespace
}  // namespace osprevan::review
