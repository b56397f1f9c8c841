#include "structured_pdf.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <stdexcept>

#include "fixture_pdfs.h"

namespace ondrelkit::testing {

const char* const kHeadingText = "Review notes";
const char* const kBeforeSpan = "The first paragraph has ";
const char* const kSpanText = "marked words";
const char* const kAfterSpan = " inside it.";
const char* const kSecondPageText =
    "The second page holds a longer paragraph that pango breaks into several lines, so that "
    "boxes on a rotated page can be compared line by line.";

namespace {

// Shows `text` with pango from (x, y), in lines of at most `width` points when it is given,
// and answers the width of what it showed.
double Show(cairo_t* cr, const char* text, double size, double x, double y, double width = 0) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
  pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  if (width > 0) pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
  pango_layout_set_text(layout, text, -1);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);
  int shownWidth = 0, height = 0;
  pango_layout_get_size(layout, &shownWidth, &height);
  pango_font_description_free(font);
  g_object_unref(layout);
  return static_cast<double>(shownWidth) / PANGO_SCALE;
}

// Gives the paragraph-level elements their identifiers and custom types, in tree order.
void FinishStructure(QPDFObjectHandle element, int& paragraph) {
  static const char* const kIds[] = {"P10#0#0#11#12", "P11#0#10#12#0", "P12#10#11#0#0"};
  static const char* const kTypes[] = {nullptr, "/Body", "/Quote"};
  if (!element.isDictionary()) return;
  QPDFObjectHandle type = element.getKey("/S");
  if (type.isName() && (type.getName() == "/H1" || type.getName() == "/P") && paragraph < 3) {
    element.replaceKey("/ID", QPDFObjectHandle::newString(kIds[paragraph]));
    if (kTypes[paragraph]) element.replaceKey("/S", QPDFObjectHandle::newName(kTypes[paragraph]));
    ++paragraph;
  }
  QPDFObjectHandle kids = element.getKey("/K");
  if (kids.isArray()) {
    for (int i = 0; i < kids.getArrayNItems(); ++i)
      FinishStructure(kids.getArrayItem(i), paragraph);
  } else {
    FinishStructure(kids, paragraph);
  }
}

}  // namespace

void WriteStructuredPdf(const std::string& path) {
  const std::string drawn = path + ".cairo.pdf";
  cairo_surface_t* surface = cairo_pdf_surface_create(drawn.c_str(), 595, 842);
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "Tolvane 17.0");
  cairo_t* cr = cairo_create(surface);
  cairo_tag_begin(cr, "Document", "");
  cairo_tag_begin(cr, "H1", "");
  Show(cr, kHeadingText, 18, 72, 80);
  cairo_tag_end(cr, "H1");
  cairo_tag_begin(cr, "P", "");
  double x = 72 + Show(cr, kBeforeSpan, 11, 72, 130);
  cairo_tag_begin(cr, "Span", "");
  x += Show(cr, kSpanText, 11, x, 130);
  cairo_tag_end(cr, "Span");
  Show(cr, kAfterSpan, 11, x, 130);
  cairo_tag_end(cr, "P");
  cairo_show_page(cr);
  cairo_tag_begin(cr, "P", "");
  Show(cr, kSecondPageText, 11, 100, 200, 300);
  cairo_tag_end(cr, "P");
  cairo_show_page(cr);
  cairo_tag_end(cr, "Document");
  FinishCairoPdf(cr, surface, drawn);

  QPDF pdf;
  pdf.processFile(drawn.c_str());
  QPDFObjectHandle root = pdf.getRoot().getKey("/StructTreeRoot");
  if (!root.isDictionary()) throw std::runtime_error("cairo wrote no structure tree");
  int paragraph = 0;
  FinishStructure(root, paragraph);
  if (paragraph != 3) throw std::runtime_error("unexpected structure tree from cairo");
  root.replaceKey("/RoleMap", QPDFObjectHandle::parse("<< /Quote /Body /Body /P >>"));
  std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
  pages.at(1).getObjectHandle().replaceKey("/Rotate", QPDFObjectHandle::newInteger(90));
  QPDFWriter writer(pdf, path.c_str());
  writer.write();
  std::remove(drawn.c_str());
}

void WriteLongPdf(const std::string& path, int pages) {
  cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), 595, 842);
  cairo_t* cr = cairo_create(surface);
  for (int page = 0; page < pages; ++page) {
    for (double y = 72; y < 72 + 5 * 140; y += 140) {
      Show(cr, kSecondPageText, 11, 72, y, 450);
      double x = 72 + Show(cr, kBeforeSpan, 11, 72, y + 90);
      x += Show(cr, kSpanText, 11, x, y + 90);
      Show(cr, kAfterSpan, 11, x, y + 90);
    }
    cairo_show_page(cr);
  }
  FinishCairoPdf(cr, surface, path);
}

}  // namespace ondrelkit::testing
