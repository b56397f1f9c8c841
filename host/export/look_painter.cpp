#include "host/export/look_painter.h"

#include <algorithm>

namespace tlhost::pdfexport {
namespace {

// Points; thinner lines vanish at screen resolutions.
constexpr double kThinnest = 0.5;

// Offsets above the baseline (points) and line thicknesses of a font.
struct LineMetrics {
  double ascent = 0;
  double descent = 0;
  double underline = 0;  // top of the underline; below the baseline, so negative
  double underlineThickness = 0;
  double strike = 0;  // top of the line through the text
  double strikeThickness = 0;
};

double Points(int units) {
  return static_cast<double>(units) / PANGO_SCALE;
}

LineMetrics MetricsOf(PangoFont* font) {
  PangoFontMetrics* m = pango_font_get_metrics(font, nullptr);
  LineMetrics out;
  out.ascent = Points(pango_font_metrics_get_ascent(m));
  out.descent = Points(pango_font_metrics_get_descent(m));
  out.underline = Points(pango_font_metrics_get_underline_position(m));
  out.underlineThickness = Points(pango_font_metrics_get_underline_thickness(m));
  out.strike = Points(pango_font_metrics_get_strikethrough_position(m));
  out.strikeThickness = Points(pango_font_metrics_get_strikethrough_thickness(m));
  pango_font_metrics_unref(m);
  // A font that does not give these values answers 0: keep the lines visible, under the
  // baseline and through the middle of the letters.
  out.underlineThickness = std::max(out.underlineThickness, kThinnest);
  out.strikeThickness = std::max(out.strikeThickness, kThinnest);
  if (out.underline >= 0) out.underline = -out.underlineThickness;
  if (out.strike <= 0) out.strike = out.ascent / 3;
  return out;
}

void Fill(cairo_t* cr, const Rgb& colour, double x0, double top, double x1, double height) {
  cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
  cairo_rectangle(cr, x0, top, x1 - x0, height);
  cairo_fill(cr);
}

}  // namespace

void PaintBackgrounds(cairo_t* cr, const std::vector<LookSpan>& spans, PangoFont* font,
                      double baseline) {
  if (std::none_of(spans.begin(), spans.end(),
                   [](const LookSpan& s) { return s.look->background.has_value(); })) {
    return;
  }
  const LineMetrics m = MetricsOf(font);
  for (const LookSpan& s : spans) {
    if (s.look->background) {
      Fill(cr, *s.look->background, s.x0, baseline - m.ascent, s.x1, m.ascent + m.descent);
    }
  }
}

void PaintLines(cairo_t* cr, const std::vector<LookSpan>& spans, PangoFont* font, double baseline,
                const Rgb& plain) {
  if (std::none_of(spans.begin(), spans.end(), [](const LookSpan& s) {
        return s.look->underlines > 0 || s.look->strike.has_value();
      })) {
    return;
  }
  const LineMetrics m = MetricsOf(font);
  for (const LookSpan& s : spans) {
    const TextLook& look = *s.look;
    const Rgb under = look.underlineColour.value_or(look.colour.value_or(plain));
    for (int line = 0; line < std::min(look.underlines, 2); ++line) {
      const double top = baseline - m.underline + 2 * line * m.underlineThickness;
      Fill(cr, under, s.x0, top, s.x1, m.underlineThickness);
    }
    if (look.strike) Fill(cr, *look.strike, s.x0, baseline - m.strike, s.x1, m.strikeThickness);
  }
}

}  // namespace tlhost::pdfexport
