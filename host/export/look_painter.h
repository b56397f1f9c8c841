// Paints the condition looks of a drawn piece of text: backgrounds behind its glyphs and the
// lines under and through them, over the widths the glyphs advance, placed by the font's own
// metrics. Nothing it paints is text.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <vector>

#include "host/export/text_look.h"

namespace tlhost::pdfexport {

// Where a look lies on a line: from x0 to x1 (page points).
struct LookSpan {
  double x0 = 0;
  double x1 = 0;
  const TextLook* look = nullptr;
};

// Before the glyphs, so that they stand on top.
void PaintBackgrounds(cairo_t* cr, const std::vector<LookSpan>& spans, PangoFont* font,
                      double baseline);

// After the glyphs. Underlines without a colour of their own take the text colour, which is
// `plain` where the look sets none.
void PaintLines(cairo_t* cr, const std::vector<LookSpan>& spans, PangoFont* font, double baseline,
                const Rgb& plain);

}  // namespace tlhost::pdfexport
