// Page content: one pass of Poppler's interpretation into containers, text elements and runs.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "poppler/Gfx.h"
#include "poppler/GfxFont.h"
#include "poppler/GfxState.h"
#include "poppler/OutputDev.h"
#include "poppler/PDFDoc.h"
#include "poppler/Page.h"
#include "poppler/XRef.h"
#include "poppler/goo/GooString.h"
#include "src/content_tree.h"
#include "src/handles.h"
#include "src/operations.h"
#include "src/page_tree.h"

namespace ondrelkit {
namespace {

// Ascent and descent to use when a font gives none that make sense (fractions of the size).
constexpr double kDefaultAscent = 0.8;
constexpr double kDefaultDescent = -0.2;
// Deeper marked content than this is kept at this depth; it only guards the stack.
constexpr size_t kMaxNesting = 256;
// Boxes are handed out in 16.16 fixed point; a coordinate beyond it cannot be given.
constexpr double kMaxCoordinate = 32767.0;

bool Representable(double coordinate) {
  return std::isfinite(coordinate) && std::fabs(coordinate) <= kMaxCoordinate;
}

class ContentCollector : public OutputDev {
 public:
  explicit ContentCollector(PageContent* content) : content_(content) {
    open_.push_back(&content->root);
  }

  bool failed() const { return failed_; }
  int32_t error() const { return error_; }

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
      Fail(kErrDamaged);
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
    Guard([&] {
      text_ = nullptr;
      if (open_.size() >= kMaxNesting) {
        ++overflow_;
        return;
      }
      OkElement& container = NewElement(kPdfElementContainer);
      container.tag = AtomOf(name ? name : "");
      int mcid = -1;
      if (properties && properties->lookupInt("MCID", nullptr, &mcid) && mcid >= 0) {
        container.mcid = mcid;
      }
      open_.push_back(&container);
    });
  }

  void endMarkedContent(GfxState*) override {
    text_ = nullptr;
    if (overflow_ > 0) {
      --overflow_;
    } else if (open_.size() > 1) {  // an unbalanced EMC must not close the page itself
      open_.pop_back();
    }
  }

  void beginTextObject(GfxState*) override { text_ = nullptr; }
  void endTextObject(GfxState*) override { text_ = nullptr; }
  void beginString(GfxState*, const GooString* s) override {
    string_ = s;
    at_ = 0;
    newRun_ = true;
  }
  void endString(GfxState*) override {
    string_ = nullptr;
    newRun_ = true;
  }

  void drawChar(GfxState* state, double x, double y, double dx, double dy, double, double,
                CharCode code, int nBytes, const Unicode* u, int uLen) override {
    Guard([&] { AddGlyph(state, x, y, dx, dy, code, nBytes, u, uLen); });
  }

 private:
  template <typename F>
  void Guard(F&& work) {
    if (failed_) return;
    try {
      work();
    } catch (const PdfError& error) {
      Fail(error.code());
    } catch (...) {
      Fail(kErrOutOfMemory);
    }
  }

  void Fail(int32_t code) {
    failed_ = true;
    error_ = code;
  }

  OkElement& NewElement(int32_t kind) {
    OkElement& element = content_->elements.emplace_back();
    element.kind = kind;
    element.page = content_;
    open_.back()->content.elements.push_back(&element);
    return element;
  }

  const OkElement* InnermostMarked() const {
    for (auto at = open_.rbegin(); at != open_.rend(); ++at) {
      if ((*at)->mcid >= 0) return *at;
    }
    return nullptr;
  }

  void ToPage(GfxState* state, double ux, double uy, double* px, double* py) const {
    double tx, ty;
    state->transform(ux, uy, &tx, &ty);
    *px = base_[0] * tx + base_[2] * ty + base_[4];
    *py = base_[1] * tx + base_[3] * ty + base_[5];
  }

  void AddGlyph(GfxState* state, double x, double y, double dx, double dy, CharCode code,
                int nBytes, const Unicode* u, int uLen) {
    if (!text_) {
      text_ = &NewElement(kPdfElementText);
      text_->markedContent = InnermostMarked();
      newRun_ = true;
    }
    if (newRun_) {
      if (text_->runCount == 0) text_->firstRun = static_cast<uint32_t>(content_->runs.size());
      content_->runs.push_back(TextRun{static_cast<uint32_t>(content_->glyphs.size()), 0});
      ++text_->runCount;
      newRun_ = false;
    }
    TextRun& run = content_->runs.back();
    LibVector<char16_t>& unicode = content_->unicode;
    Glyph glyph{};

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
      // The glyph still holds its place in the string, so that it and the glyphs after it
      // keep their own codes and text; its box shrinks to its origin, or to 0,0 past that.
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

    glyph.unicodeAt = static_cast<uint32_t>(unicode.size());
    for (int i = 0; i < uLen && u; ++i) {
      Unicode c = u[i];
      if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
      if (c >= 0x10000) {
        unicode.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
        unicode.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
      } else {
        unicode.push_back(static_cast<char16_t>(c));
      }
    }
    glyph.unicodeCount =
        static_cast<uint8_t>(std::min<size_t>(unicode.size() - glyph.unicodeAt, 255));
    content_->glyphs.push_back(glyph);
    ++run.glyphCount;
  }

  PageContent* content_;
  std::vector<OkElement*> open_;  // the open containers, the page itself first
  size_t overflow_ = 0;
  OkElement* text_ = nullptr;
  bool newRun_ = true;
  const GooString* string_ = nullptr;
  int at_ = 0;
  double base_[6] = {1, 0, 0, 1, 0, 0};
  bool failed_ = false;
  int32_t error_ = 0;
};

bool StopWhenFailed(void* data) {
  return static_cast<ContentCollector*>(data)->failed();
}

const OkElement* CheckedElement(const OkElement* element, int32_t kind) {
  RequireInitialised();
  if (!element) Raise(kErrBadArgument);
  if (element->kind != kind) Raise(kErrWrongType);
  return element;
}

const TextRun& RunOf(const OkElement* text, int32_t run) {
  CheckedElement(text, kPdfElementText);
  if (run < 0 || static_cast<uint32_t>(run) >= text->runCount) Raise(kErrBadArgument);
  return text->page->runs[text->firstRun + static_cast<uint32_t>(run)];
}

const Glyph& GlyphOf(const OkElement* text, int32_t run, int32_t index) {
  const TextRun& r = RunOf(text, run);
  if (index < 0 || static_cast<uint32_t>(index) >= r.glyphCount) Raise(kErrBadArgument);
  return text->page->glyphs[r.firstGlyph + static_cast<uint32_t>(index)];
}

const OkContent* PageContentOf(OkPage* page) {
  RequireInitialised();
  if (!page) Raise(kErrBadArgument);
  if (!page->content) page->content = BuildPageContent(page);
  return &page->content->root.content;
}

int32_t ContentCount(const OkContent* content) {
  RequireInitialised();
  if (!content) Raise(kErrBadArgument);
  return static_cast<int32_t>(content->elements.size());
}

const OkElement* ContentAt(const OkContent* content, int32_t index) {
  if (index < 0 || index >= ContentCount(content)) Raise(kErrBadArgument);
  return content->elements[static_cast<size_t>(index)];
}

int32_t ElementKind(const OkElement* element) {
  RequireInitialised();
  if (!element) Raise(kErrBadArgument);
  return element->kind;
}

const OkContent* ContainerContent(const OkElement* container) {
  return &CheckedElement(container, kPdfElementContainer)->content;
}

PdfAtom ContainerTag(const OkElement* container) {
  return CheckedElement(container, kPdfElementContainer)->tag;
}

int32_t ContainerMcid(const OkElement* container) {
  return CheckedElement(container, kPdfElementContainer)->mcid;
}

const OkElement* TextMarkedContent(const OkElement* text) {
  return CheckedElement(text, kPdfElementText)->markedContent;
}

int32_t TextRunCount(const OkElement* text) {
  return static_cast<int32_t>(CheckedElement(text, kPdfElementText)->runCount);
}

int32_t RunCharCount(const OkElement* text, int32_t run) {
  return static_cast<int32_t>(RunOf(text, run).glyphCount);
}

void CharBox(const OkElement* text, int32_t run, int32_t index, PdfFixed box[4]) {
  const Glyph& glyph = GlyphOf(text, run, index);
  if (!box) Raise(kErrBadArgument);
  for (int i = 0; i < 4; ++i) box[i] = FloatToFixed(glyph.box[i]);
}

size_t CharCodes(const OkElement* text, int32_t run, int32_t index, uint8_t* buffer,
                 size_t capacity) {
  const Glyph& glyph = GlyphOf(text, run, index);
  if (buffer) std::memcpy(buffer, glyph.codes, std::min<size_t>(glyph.codeCount, capacity));
  return glyph.codeCount;
}

size_t CharUnicode(const OkElement* text, int32_t run, int32_t index, char16_t* buffer,
                   size_t capacity) {
  const Glyph& glyph = GlyphOf(text, run, index);
  if (buffer && capacity) {
    const size_t count = std::min<size_t>(glyph.unicodeCount, capacity - 1);
    // A page without any Unicode has an empty array, whose data() is null.
    if (count) {
      std::memcpy(buffer, text->page->unicode.data() + glyph.unicodeAt, count * sizeof(char16_t));
    }
    buffer[count] = u'\0';
  }
  return glyph.unicodeCount;
}

}  // namespace

PageContent* BuildPageContent(const OkPage* page) {
  PDFDoc* pdf = page->document->pdf.get();
  const TreePage* fromTree = page->treePage.get();
  // A page from the page tree whose content Poppler would refuse has none to read.
  Page* source = fromTree ? nullptr : pdf->getPage(page->index + 1);
  if (fromTree ? !fromTree->contentReadable : !source) Raise(kErrDamaged);
  PageContent* content = New<PageContent>();
  ContentCollector collector(content);
  // The page's content stream alone. Displaying the whole page would also make Poppler read
  // every annotation of the page into objects that the document keeps until it is closed,
  // tens of megabytes over a long reviewed document, though none of them is drawn here.
  std::unique_ptr<Gfx> gfx;
  Object stream;
  if (source) {
    gfx.reset(source->createGfx(&collector, 72, 72, 0, true, false, -1, -1, -1, -1, false,
                                StopWhenFailed, &collector));
    stream = source->getContents();
  } else {
    // As Poppler's own page makes it: the media box, no crop, the page's rotation.
    const PageAttributes& attributes = fromTree->attributes;
    const Object& resources = attributes.resources;
    gfx = std::make_unique<Gfx>(
        pdf, &collector, page->index + 1, resources.isDict() ? resources.getDict() : nullptr, 72,
        72, &attributes.mediaBox, nullptr, page->rotation, StopWhenFailed, &collector);
    stream = fromTree->contents.fetch(pdf->getXRef());
  }
  if (!stream.isNull()) {
    gfx->saveState();
    gfx->display(&stream);
    gfx->restoreState();
  }
  gfx.reset();
  if (collector.failed()) {
    Delete(content);
    Raise(collector.error());
  }
  return content;
}

const OkContentTable kContentTable = {
    kOkContentVersion, PageContentOf, ContentCount,  ContentAt,         ElementKind,
    ContainerContent,  ContainerTag,  ContainerMcid, TextMarkedContent, TextRunCount,
    RunCharCount,      CharBox,       CharCodes,     CharUnicode};

}  // namespace ondrelkit
