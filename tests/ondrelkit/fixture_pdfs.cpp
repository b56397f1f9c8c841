#include "fixture_pdfs.h"

#include <cairo-pdf.h>

#include <stdexcept>

namespace ondrelkit::testing {

void WriteCairoPdf(const std::string& path, int pages, const std::string& text, bool tagged,
                   const std::string& creator, const std::string& topElement) {
  cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), 595, 842);
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, creator.c_str());
  cairo_t* cr = cairo_create(surface);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 12);
  if (tagged) cairo_tag_begin(cr, topElement.c_str(), "");
  for (int page = 0; page < pages; ++page) {
    if (tagged) cairo_tag_begin(cr, "P", "");
    cairo_move_to(cr, 72, 100);
    cairo_show_text(cr, text.c_str());
    if (tagged) cairo_tag_end(cr, "P");
    cairo_show_page(cr);
  }
  if (tagged) cairo_tag_end(cr, topElement.c_str());
  FinishCairoPdf(cr, surface, path);
}

void FinishCairoPdf(cairo_t* cr, cairo_surface_t* surface, const std::string& path) {
  const cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const cairo_status_t finished = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS || finished != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error(
        "cairo could not write " + path + ": " +
        cairo_status_to_string(status != CAIRO_STATUS_SUCCESS ? status : finished));
  }
}

}  // namespace ondrelkit::testing
