#include "src/page_interpretation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "poppler/Gfx.h"
#include "poppler/GfxFont.h"
#include "poppler/GfxState.h"
#include "poppler/OutputDev.h"
#include "poppler/PDFDoc.h"
#include "poppler/Page.h"
#include "poppler/XRef.h"
#include "poppler/goo/GooString.h"
#include "src/errors.h"
#include "src/page_tree.h"

namespace ondrelkit {
namespace {

// Ascent and descent to use when a font gives none that make sense (fractions of the size).
constexpr double kDefaultAscent = 0.8;
constexpr double kDefaultDescent = -0.2;
// Boxes are handed out in 16.16 fixed point; a coordinate beyond it cannot be given.
constexpr double kMaxCoordinate = 32767.0;

bool Representable(double coordinate) {
  return std::isfinite(coordinate) && std::fabs(coordinate) <= kMaxCoordinate;
}

// Poppler's output device for text: every glyph's cell in default user space, its code bytes as
// they stand in the shown string, and its Unicode.
class GlyphSource : public OutputDev {
 public:
  explicit GlyphSource(ContentSink& sink) : sink_(sink) {}

  bool upsideDown() override { return false; }
  bool useDrawChar() override { return true; }
  bool interpretType3Chars() override { return false; }
  bool needNonText() override { return false; }

  // Everything is reported in default user space: undo the page's own base transform
  // (media-box origin and /Rotate) that the interpreter starts with.
  void startPage(int, GfxState* state, XRef*) override {
    const double* m = state->getCTM();
    const double det = m[0] * m[3] - m[1] * m[2];
    if (det == 0 || !std::isfinite(det)) {
      sink_.Fail(kErrDamaged);
      return;
    }
    base_[0] = m[3] / det;
    base_[1] = -m[1] / det;
    base_[2] = -m[2] / det;
    base_[3] = m[0] / det;
    base_[4] = (m[2] * m[5] - m[3] * m[4]) / det;
    base_[5] = (m[1] * m[4] - m[0] * m[5]) / det;
  }

  void beginMarkedContent(const char* name, Dict* properties) override {
    int mcid = -1;
    if (!properties || !properties->lookupInt("MCID", nullptr, &mcid) || mcid < 0) mcid = -1;
    sink_.BeginMarked(name ? name : "", mcid);
  }
  void endMarkedContent(GfxState*) override { sink_.EndMarked(); }
  void beginTextObject(GfxState*) override { sink_.BreakText(); }
  void endTextObject(GfxState*) override { sink_.BreakText(); }
  void beginString(GfxState*, const GooString* s) override {
    string_ = s;
    at_ = 0;
    sink_.BreakRun();
  }
  void endString(GfxState*) override {
    string_ = nullptr;
    sink_.BreakRun();
  }

  void drawChar(GfxState* state, double x, double y, double dx, double dy, double, double,
                CharCode code, int nBytes, const Unicode* u, int uLen) override;

 private:
  void ToPage(GfxState* state, double ux, double uy, double* px, double* py) const {
    double tx, ty;
    state->transform(ux, uy, &tx, &ty);
    *px = base_[0] * tx + base_[2] * ty + base_[4];
    *py = base_[1] * tx + base_[3] * ty + base_[5];
  }

  ContentSink& sink_;
  const GooString* string_ = nullptr;
  int at_ = 0;
  double base_[6] = {1, 0, 0, 1, 0, 0};
  std::vector<char16_t> unicode_;  // the glyph's text, kept to spare an allocation per glyph
};

void GlyphSource::drawChar(GfxState* state, double x, double y, double dx, double dy, double,
                           double, CharCode code, int nBytes, const Unicode* u, int uLen) {
  if (sink_.Done()) return;
  GlyphReport glyph{};

  // The glyph's cell: its advance along the baseline, from descent to ascent across it.
  double ascent = kDefaultAscent, descent = kDefaultDescent;
  if (const GfxFont* font = state->getFont().get()) {
    if (font->getAscent() > font->getDescent() && font->getAscent() < 3 &&
        font->getDescent() > -3) {
      ascent = font->getAscent();
      descent = font->getDescent();
    }
  }
  const double size = state->getFontSize();
  double upX, upY, downX, downY;
  state->textTransformDelta(0, ascent * size, &upX, &upY);
  state->textTransformDelta(0, descent * size, &downX, &downY);
  const double cornersX[4] = {x + downX, x + downX + dx, x + upX, x + upX + dx};
  const double cornersY[4] = {y + downY, y + downY + dy, y + upY, y + upY + dy};
  double left = INFINITY, bottom = INFINITY, right = -INFINITY, top = -INFINITY;
  bool representable = true;  // checked per corner: min and max pass over NaN silently
  for (int i = 0; i < 4; ++i) {
    double px, py;
    ToPage(state, cornersX[i], cornersY[i], &px, &py);
    representable = representable && Representable(px) && Representable(py);
    left = std::min(left, px);
    right = std::max(right, px);
    bottom = std::min(bottom, py);
    top = std::max(top, py);
  }
  if (!representable) {
    // The glyph still holds its place in the string, so that it and the glyphs after it keep
    // their own codes and text; its box shrinks to its origin, or to 0,0 past that.
    double px, py;
    ToPage(state, x, y, &px, &py);
    if (!Representable(px) || !Representable(py)) px = py = 0;
    left = right = px;
    bottom = top = py;
  }
  glyph.box[0] = static_cast<float>(left);
  glyph.box[1] = static_cast<float>(bottom);
  glyph.box[2] = static_cast<float>(right);
  glyph.box[3] = static_cast<float>(top);

  // The code bytes as they stand in the shown string; from the code when out of step.
  const int count = std::clamp(nBytes, 1, static_cast<int>(sizeof glyph.codes));
  if (string_ && at_ + nBytes <= string_->getLength()) {
    std::memcpy(glyph.codes, string_->c_str() + at_, static_cast<size_t>(count));
  } else {
    for (int i = 0; i < count; ++i) {
      glyph.codes[i] = static_cast<uint8_t>(code >> (8 * (count - 1 - i)));
    }
  }
  glyph.codeCount = static_cast<uint8_t>(count);
  at_ += nBytes;

  unicode_.clear();
  for (int i = 0; i < uLen && u; ++i) {
    Unicode c = u[i];
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c >= 0x10000) {
      unicode_.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      unicode_.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      unicode_.push_back(static_cast<char16_t>(c));
    }
  }
  glyph.unicode = unicode_.data();
  glyph.unicodeCount = unicode_.size();
  sink_.Glyph(glyph);
}

bool StopWhenDone(void* data) {
  return static_cast<ContentSink*>(data)->Done();
}

}  // namespace

bool InterpretPage(PDFDoc* pdf, int index, const TreePage* fromTree, int rotation,
                   ContentSink& sink) {
  // A page from the page tree whose content Poppler would refuse has none to read.
  Page* source = fromTree ? nullptr : pdf->getPage(index + 1);
  if (fromTree ? !fromTree->contentReadable : !source) return false;
  GlyphSource glyphs(sink);
  // The page's content stream alone. Displaying the whole page would also make Poppler read
  // every annotation of the page into objects that the document keeps until it is closed,
  // tens of megabytes over a long reviewed document, though none of them is drawn here.
  std::unique_ptr<Gfx> gfx;
  Object stream;
  if (source) {
    gfx.reset(source->createGfx(&glyphs, 72, 72, 0, true, false, -1, -1, -1, -1, false,
                                StopWhenDone, &sink));
    stream = source->getContents();
  } else {
    // As Poppler's own page makes it: the media box, no crop, the page's rotation.
    const PageAttributes& attributes = fromTree->attributes;
    const Object& resources = attributes.resources;
    gfx = std::make_unique<Gfx>(pdf, &glyphs, index + 1,
                                resources.isDict() ? resources.getDict() : nullptr, 72, 72,
                                &attributes.mediaBox, nullptr, rotation, StopWhenDone, &sink);
    stream = fromTree->contents.fetch(pdf->getXRef());
  }
  if (!stream.isNull()) {
    gfx->saveState();
    gfx->display(&stream);
    gfx->restoreState();
  }
  return true;
}

}  // namespace ondrelkit
