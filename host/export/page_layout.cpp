#include "host/export/page_layout.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "host/export/look_painter.h"
#include "tolvane/numbers.h"

namespace tlhost::pdfexport {
namespace {

constexpr double kPageWidth = 595;
constexpr double kPageHeight = 842;
constexpr double kMargin = 72;
constexpr double kColumn = kPageWidth - 2 * kMargin;
constexpr double kBottom = kPageHeight - kMargin;
constexpr double kFootnoteGap = 10;
constexpr double kCellPadding = 4;

struct FontStyle {
  double size;
  bool bold;
};

FontStyle FontFor(ParagraphRole role) {
  switch (role) {
    case ParagraphRole::kHeading:
      return {14, true};
    case ParagraphRole::kTitle:
      return {10, true};
    case ParagraphRole::kFootnote:
      return {8, false};
    case ParagraphRole::kCell:
      return {9, false};
    case ParagraphRole::kBody:
      break;
  }
  return {10, false};
}

// Cairo draws nothing for a glyph call without ink, and pango leaves the blank at a wrapped
// line's end without a glyph, so such blanks (and blank characters that stand alone in a drawn
// piece: a tab, a space at a segment's edge) get an inked glyph of their own. It is drawn in
// kStandInColour, which the finisher turns into invisible text: its ToUnicode entry still gives
// the source character, one character in the PDF with its box, but nothing shows on the page.
gunichar StandInFor(gunichar c) {
  switch (c) {
    case ' ':
      return 0x2423;
    case '\t':
      return 0x21E5;
    case '\n':
      return 0x21B5;
    case '\r':
      return 0x240D;
    case 0x3000:
      return 0x2422;
    case 0xA0:
      return 0x2420;
    default:
      return 0;
  }
}

// One paragraph shaped by pango. `shown` is the source text; `laidOut` the same bytes with
// line breaks turned into tabs, so that pango keeps every character on a line.
struct ShapedParagraph {
  std::string shown;
  std::string laidOut;
  std::vector<size_t> starts;    // byte offset of each segment
  std::vector<LookRange> looks;  // in `shown`, ascending
  PangoLayout* layout = nullptr;
  ~ShapedParagraph() {
    if (layout) g_object_unref(layout);
  }
  int SegmentAt(size_t byte) const {
    auto at = std::upper_bound(starts.begin(), starts.end(), byte);
    return static_cast<int>(at - starts.begin()) - 1;
  }
  // The look of the character at `byte`; none for plain text.
  const TextLook* LookAt(size_t byte) const {
    auto after = std::upper_bound(looks.begin(), looks.end(), byte,
                                  [](size_t b, const LookRange& r) { return b < r.begin; });
    if (after == looks.begin()) return nullptr;
    const LookRange& range = *(after - 1);
    return byte < range.end ? &range.look : nullptr;
  }
};

// Where the text colour changes along a drawn part: from `x` points after the part's start on,
// its glyphs are drawn in `colour`.
struct ColourStop {
  double x = 0;
  Rgb colour;
};

class PageWriter {
 public:
  PageWriter(cairo_t* cr, const LayoutContent& content, DrawnPages& out)
      : cr_(cr), content_(content), out_(out) {
    context_ = pango_cairo_create_context(cr_);
    pango_cairo_context_set_resolution(context_, 72);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(context_, options);
    cairo_font_options_destroy(options);
    out_.pageCount = 1;
  }
  ~PageWriter() { g_object_unref(context_); }

  void Draw() {
    bool pageUsed = false;
    for (const FlowItem& item : content_.items) {
      switch (item.kind) {
        case FlowItem::Kind::kPageBreak:
          if (pageUsed) NewPage();
          pageUsed = false;
          break;
        case FlowItem::Kind::kParagraph:
          FlowParagraph(item.paragraph);
          pageUsed = true;
          break;
        case FlowItem::Kind::kTable:
          FlowTable(item.table);
          pageUsed = true;
          break;
      }
    }
    FinishPage();
  }

 private:
  std::unique_ptr<ShapedParagraph> Shape(const LaidParagraph& p, double width) const {
    auto shaped = std::make_unique<ShapedParagraph>();
    PangoAttrList* attrs = pango_attr_list_new();
    for (const TextSegment& s : p.segments) {
      const size_t start = shaped->shown.size();
      shaped->starts.push_back(start);
      shaped->shown += s.text;
      for (const LookRange& r : s.looks) {
        shaped->looks.push_back({start + r.begin, start + r.end, r.look});
      }
      const guint end = static_cast<guint>(shaped->shown.size());
      if (s.style == SegmentStyle::kSuperscript) {
        PangoAttribute* scale = pango_attr_scale_new(0.7);
        scale->start_index = static_cast<guint>(start);
        scale->end_index = end;
        pango_attr_list_insert(attrs, scale);
      } else if (s.style == SegmentStyle::kBlock) {
        PangoAttribute* style = pango_attr_style_new(PANGO_STYLE_ITALIC);
        style->start_index = static_cast<guint>(start);
        style->end_index = end;
        pango_attr_list_insert(attrs, style);
      }
    }
    shaped->laidOut = shaped->shown;
    for (char& c : shaped->laidOut) {
      if (c == '\n' || c == '\r') c = '\t';
    }
    // Ligatures would make several characters one glyph, and pango's own hyphens would add one.
    pango_attr_list_insert(attrs, pango_attr_font_features_new("liga=0,clig=0,dlig=0,hlig=0"));
    pango_attr_list_insert(attrs, pango_attr_insert_hyphens_new(FALSE));
    const FontStyle style = FontFor(p.role);
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans,IPAGothic");
    pango_font_description_set_absolute_size(font, style.size * PANGO_SCALE);
    if (style.bold) pango_font_description_set_weight(font, PANGO_WEIGHT_BOLD);
    shaped->layout = pango_layout_new(context_);
    pango_layout_set_font_description(shaped->layout, font);
    pango_font_description_free(font);
    pango_layout_set_width(shaped->layout, static_cast<int>(width * PANGO_SCALE));
    pango_layout_set_wrap(shaped->layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_text(shaped->layout, shaped->laidOut.data(),
                          static_cast<int>(shaped->laidOut.size()));
    pango_layout_set_attributes(shaped->layout, attrs);
    pango_attr_list_unref(attrs);
    return shaped;
  }

  static double Height(const ShapedParagraph& s) {
    int w = 0, h = 0;
    pango_layout_get_size(s.layout, &w, &h);
    return static_cast<double>(h) / PANGO_SCALE;
  }

  static bool Blank(PangoFont* font, PangoGlyph glyph) {
    if (glyph == PANGO_GLYPH_EMPTY || (glyph & PANGO_GLYPH_UNKNOWN_FLAG)) return true;
    PangoRectangle ink;
    pango_font_get_glyph_extents(font, glyph, &ink, nullptr);
    return ink.width == 0 || ink.height == 0;
  }

  // Gives blank glyphs their stand-ins; answers the byte offsets in `s.shown` of the clusters
  // that got one.
  static std::set<size_t> GiveStandIns(const ShapedParagraph& s, PangoGlyphItem* piece) {
    PangoGlyphString* glyphs = piece->glyphs;
    PangoFont* font = piece->item->analysis.font;
    bool allBlank = true;
    for (int i = 0; i < glyphs->num_glyphs; ++i) {
      if (!Blank(font, glyphs->glyphs[i].glyph)) allBlank = false;
    }
    hb_font_t* hb = pango_font_get_hb_font(font);
    std::set<size_t> given;
    for (int i = 0; i < glyphs->num_glyphs; ++i) {
      PangoGlyph& glyph = glyphs->glyphs[i].glyph;
      const bool empty = glyph == PANGO_GLYPH_EMPTY || (glyph & PANGO_GLYPH_UNKNOWN_FLAG);
      if (!empty && !allBlank) continue;
      const size_t at = static_cast<size_t>(piece->item->offset + glyphs->log_clusters[i]);
      const gunichar standIn = StandInFor(g_utf8_get_char(s.shown.data() + at));
      hb_codepoint_t found = 0;
      if (standIn && hb && hb_font_get_nominal_glyph(hb, standIn, &found)) {
        glyph = found;
        given.insert(at);
      }
    }
    return given;
  }

  // Where `part` stops being all stand-ins or all drawn text: the byte count from its start
  // of the first cluster that differs from its first one, or its length when none does.
  static int SameKindLength(const PangoGlyphItem* part, const std::set<size_t>& standIns) {
    std::map<int, bool> clusters;  // cluster start from the item's start -> has a stand-in
    const PangoGlyphString* glyphs = part->glyphs;
    for (int i = 0; i < glyphs->num_glyphs; ++i) {
      const int at = glyphs->log_clusters[i];
      clusters.emplace(at, standIns.count(static_cast<size_t>(part->item->offset + at)) > 0);
    }
    for (const auto& [at, standIn] : clusters) {
      if (standIn != clusters.begin()->second) return at;
    }
    return part->item->length;
  }

  // The text colours along `part`, changing at inked glyphs only: blanks show nothing, so the
  // colour changes halfway across them, away from the ink on either side (the PDF's glyph
  // positions may stand a fraction of a point off the layout's).
  static std::vector<ColourStop> ColourStops(const ShapedParagraph& s, const PangoGlyphItem* part,
                                             const Rgb& plain) {
    std::vector<ColourStop> stops;
    const PangoGlyphString* glyphs = part->glyphs;
    PangoFont* font = part->item->analysis.font;
    double x = 0;
    double inkEnd = 0;  // where the last inked glyph's advance ends
    for (int i = 0; i < glyphs->num_glyphs; ++i) {
      const double width = static_cast<double>(glyphs->glyphs[i].geometry.width) / PANGO_SCALE;
      if (!Blank(font, glyphs->glyphs[i].glyph)) {
        const TextLook* look =
            s.LookAt(static_cast<size_t>(part->item->offset + glyphs->log_clusters[i]));
        const Rgb colour = look && look->colour ? *look->colour : plain;
        if (stops.empty()) {
          stops.push_back({0, colour});
        } else if (!(stops.back().colour == colour)) {
          stops.push_back({(inkEnd + x) / 2, colour});
        }
        inkEnd = x + width;
      }
      x += width;
    }
    if (stops.empty()) stops.push_back({0, plain});
    return stops;
  }

  // Sets the fill for a part drawn from `x0` that is `width` wide. Several colours come as a
  // gradient with hard steps rather than as one call per colour: where cairo cuts its text
  // calls changes the rounding of the glyph positions it writes, and so the character boxes.
  void SetTextSource(const std::vector<ColourStop>& stops, double x0, double width) {
    if (stops.size() == 1 || width <= 0) {
      cairo_set_source_rgb(cr_, stops[0].colour.r, stops[0].colour.g, stops[0].colour.b);
      return;
    }
    cairo_pattern_t* steps = cairo_pattern_create_linear(x0, 0, x0 + width, 0);
    for (size_t i = 0; i < stops.size(); ++i) {
      const Rgb& c = stops[i].colour;
      const double from = stops[i].x / width;
      const double to = i + 1 < stops.size() ? stops[i + 1].x / width : 1;
      cairo_pattern_add_color_stop_rgb(steps, from, c.r, c.g, c.b);
      cairo_pattern_add_color_stop_rgb(steps, to, c.r, c.g, c.b);
    }
    cairo_set_source(cr_, steps);
    cairo_pattern_destroy(steps);
  }

  // Where the piece's glyphs with a look lie, from `x` on; neighbours with the same look are
  // one span, so lines run on unbroken.
  static std::vector<LookSpan> LookSpans(const ShapedParagraph& s, const PangoGlyphItem* piece,
                                         double x) {
    std::vector<LookSpan> spans;
    bool extend = false;  // the glyph before had a look
    const PangoGlyphString* glyphs = piece->glyphs;
    for (int i = 0; i < glyphs->num_glyphs; ++i) {
      const double width = static_cast<double>(glyphs->glyphs[i].geometry.width) / PANGO_SCALE;
      const TextLook* look =
          s.LookAt(static_cast<size_t>(piece->item->offset + glyphs->log_clusters[i]));
      if (look && extend && *spans.back().look == *look) {
        spans.back().x1 += width;
      } else if (look) {
        spans.push_back({x, x + width, look});
      }
      extend = look != nullptr;
      x += width;
    }
    return spans;
  }

  // Draws one run, cut where segments change, each tagged piece in its own marked content.
  void DrawRun(const ShapedParagraph& s, const LaidParagraph& p, PangoGlyphItem* run, double& x,
               double baseline) {
    PangoGlyphItem* rest = pango_glyph_item_copy(run);
    while (rest) {
      const size_t begin = static_cast<size_t>(rest->item->offset);
      const size_t end = begin + static_cast<size_t>(rest->item->length);
      const int segment = s.SegmentAt(begin);
      PangoGlyphItem* piece = rest;
      if (segment + 1 < static_cast<int>(s.starts.size()) && s.starts[segment + 1] < end) {
        piece = pango_glyph_item_split(rest, s.shown.data(),
                                       static_cast<int>(s.starts[segment + 1] - begin));
      } else {
        rest = nullptr;
      }
      DrawPiece(s, p.segments[segment], piece, x, baseline);
      pango_glyph_item_free(piece);
    }
  }

  // Draws a piece in parts of only stand-ins or only other glyphs, in text order, so that the
  // stand-ins alone get kStandInColour; the looks' backgrounds and lines go around the tagged
  // text, outside its marked content.
  void DrawPiece(const ShapedParagraph& s, const TextSegment& segment, PangoGlyphItem* piece,
                 double& x, double baseline) {
    const std::set<size_t> standIns = GiveStandIns(s, piece);
    const double y = baseline - (segment.style == SegmentStyle::kSuperscript ? 3.5 : 0);
    const Rgb plain = segment.style == SegmentStyle::kBlock ? Rgb{0.2, 0.2, 0.5} : Rgb{};
    PangoFont* font = piece->item->analysis.font;
    const std::vector<LookSpan> spans = LookSpans(s, piece, x);
    PaintBackgrounds(cr_, spans, font, y);
    const bool tagged = segment.slot.node >= 0;
    if (tagged) {
      cairo_tag_begin(cr_, "Span", "");
      out_.pieces.push_back({segment.slot, out_.pageCount - 1});
    }
    PangoGlyphItem* rest = pango_glyph_item_copy(piece);
    while (rest) {
      const int length = SameKindLength(rest, standIns);
      PangoGlyphItem* part = rest;
      if (length < rest->item->length) {
        part = pango_glyph_item_split(rest, s.shown.data(), length);
      } else {
        rest = nullptr;
      }
      const double width =
          static_cast<double>(pango_glyph_string_get_width(part->glyphs)) / PANGO_SCALE;
      if (standIns.count(static_cast<size_t>(part->item->offset))) {
        cairo_set_source_rgb(cr_, kStandInColour[0], kStandInColour[1], kStandInColour[2]);
      } else {
        SetTextSource(ColourStops(s, part, plain), x, width);
      }
      cairo_move_to(cr_, x, y);
      pango_cairo_show_glyph_item(cr_, s.shown.data(), part);
      x += width;
      pango_glyph_item_free(part);
    }
    if (tagged) cairo_tag_end(cr_, "Span");
    PaintLines(cr_, spans, font, y, plain);
  }

  // Footnotes whose numbers stand in the line.
  std::vector<int> FootnotesOf(const ShapedParagraph& s, const LaidParagraph& p,
                               PangoLayoutLine* line) const {
    std::vector<int> out;
    for (size_t i = 0; i < p.segments.size(); ++i) {
      const int footnote = p.segments[i].footnote;
      const size_t at = s.starts[i];
      if (footnote >= 0 && at >= static_cast<size_t>(line->start_index) &&
          at < static_cast<size_t>(line->start_index + line->length)) {
        out.push_back(footnote);
      }
    }
    return out;
  }

  // Draws the lines of a paragraph from `top`; with `flowing`, lines that do not fit go to the
  // next page, and footnotes named in a line are kept on the line's page. Answers the bottom.
  double DrawLines(const LaidParagraph& p, double x0, double top, double width, bool flowing) {
    std::unique_ptr<ShapedParagraph> s = Shape(p, width);
    PangoLayoutIter* iter = pango_layout_get_iter(s->layout);
    double offset = top;  // page y of the layout's top
    do {
      PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
      PangoRectangle logical;
      pango_layout_iter_get_line_extents(iter, nullptr, &logical);
      const double lineTop = static_cast<double>(logical.y) / PANGO_SCALE;
      const double lineHeight = static_cast<double>(logical.height) / PANGO_SCALE;
      if (flowing) {
        const std::vector<int> notes = FootnotesOf(*s, p, line);
        double needed = reserve_;
        for (int n : notes) needed += FootnoteHeight(n) + (pageNotes_.empty() ? kFootnoteGap : 0);
        if (offset + lineTop + lineHeight > kBottom - needed && !PageEmpty(offset + lineTop)) {
          NewPage();
          offset = cursor_ - lineTop;
        }
        for (int n : notes) {
          reserve_ += FootnoteHeight(n) + (pageNotes_.empty() ? kFootnoteGap : 0);
          pageNotes_.push_back(n);
        }
      }
      const double baseline =
          offset + static_cast<double>(pango_layout_iter_get_baseline(iter)) / PANGO_SCALE;
      double x = x0 + static_cast<double>(logical.x) / PANGO_SCALE;
      for (GSList* r = line->runs; r; r = r->next) {
        DrawRun(*s, p, static_cast<PangoGlyphItem*>(r->data), x, baseline);
      }
      cursor_ = offset + lineTop + lineHeight;
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
    if (p.segments.empty()) cursor_ = top + Height(*s);
    return cursor_;
  }

  bool PageEmpty(double y) const { return y <= kMargin + 0.5; }

  double FootnoteHeight(int index) const {
    double h = 0;
    for (const LaidParagraph& p : content_.footnotes[index]) h += Height(*Shape(p, kColumn)) + 2;
    return h;
  }

  void FlowParagraph(const LaidParagraph& p) {
    if (p.role == ParagraphRole::kHeading && !PageEmpty(cursor_)) cursor_ += 8;
    DrawLines(p, kMargin, cursor_, kColumn, true);
    cursor_ += p.role == ParagraphRole::kHeading ? 6 : 4;
  }

  void FlowTable(const TableGrid& t) {
    for (const LaidParagraph& p : t.title) DrawLines(p, kMargin, cursor_, kColumn, true);
    cursor_ += 2;
    const double column = t.columns > 0 ? kColumn / t.columns : kColumn;
    for (const GridRow& row : t.rows) {
      double height = 0;
      for (const GridCell& cell : row.cells) {
        double h = 0;
        for (const LaidParagraph& p : cell.paragraphs) {
          h += Height(*Shape(p, column * cell.span - 2 * kCellPadding));
        }
        height = std::max(height, h);
      }
      height += 2 * kCellPadding;
      if (cursor_ + height > kBottom - reserve_ && !PageEmpty(cursor_)) NewPage();
      double x = kMargin;
      const double top = cursor_;
      for (const GridCell& cell : row.cells) {
        const double width = column * cell.span;
        cairo_set_source_rgb(cr_, 0, 0, 0);
        cairo_set_line_width(cr_, 0.5);
        cairo_rectangle(cr_, x, top, width, height);
        cairo_stroke(cr_);
        double y = top + kCellPadding;
        for (const LaidParagraph& p : cell.paragraphs) {
          y = DrawLines(p, x + kCellPadding, y, width - 2 * kCellPadding, false);
        }
        x += width;
      }
      cursor_ = top + height;
    }
    cursor_ += 6;
  }

  void FinishPage() {
    if (!pageNotes_.empty()) {
      double y = kBottom - reserve_ + kFootnoteGap;
      cairo_set_source_rgb(cr_, 0, 0, 0);
      cairo_set_line_width(cr_, 0.5);
      cairo_move_to(cr_, kMargin, y - kFootnoteGap / 2);
      cairo_line_to(cr_, kMargin + kColumn / 3, y - kFootnoteGap / 2);
      cairo_stroke(cr_);
      for (int n : pageNotes_) {
        for (const LaidParagraph& p : content_.footnotes[n]) {
          y = DrawLines(p, kMargin, y, kColumn, false) + 2;
        }
      }
    }
    pageNotes_.clear();
    reserve_ = 0;
  }

  void NewPage() {
    FinishPage();
    cairo_show_page(cr_);
    ++out_.pageCount;
    cursor_ = kMargin;
  }

  cairo_t* cr_;
  const LayoutContent& content_;
  DrawnPages& out_;
  PangoContext* context_ = nullptr;
  double cursor_ = kMargin;
  double reserve_ = 0;  // height kept free at the page foot for its footnotes
  std::vector<int> pageNotes_;
};

}  // namespace

int32_t DrawPages(const LayoutContent& content, const std::string& path, DrawnPages& out,
                  std::string& error) {
  out = {};
  cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), kPageWidth, kPageHeight);
  cairo_t* cr = cairo_create(surface);
  {
    PageWriter writer(cr, content, out);
    writer.Draw();
  }
  const cairo_status_t drawn = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const cairo_status_t finished = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (drawn != CAIRO_STATUS_SUCCESS || finished != CAIRO_STATUS_SUCCESS) {
    error = cairo_status_to_string(drawn != CAIRO_STATUS_SUCCESS ? drawn : finished);
    return tolvane::ERR_FILE_WRITE;
  }
  return 0;
}

}  // namespace tlhost::pdfexport
