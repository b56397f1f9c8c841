// A page's interpreted content: marked-content containers holding text elements, which hold
// runs of characters with their boxes, codes and Unicode. Built once per acquired page.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ondrelkit/ondrelkit.h"
#include "src/memory.h"

namespace ondrelkit {

struct Glyph {
  float box[4];        // left, bottom, right, top in default user space
  uint32_t unicodeAt;  // in the page's Unicode
  uint8_t unicodeCount;
  uint8_t codeCount;
  uint8_t codes[8];
};

// A run's glyphs stand one after the other in the page's glyphs, as a text element's runs do in
// the page's runs: a page holds three growing arrays rather than two for every shown string,
// which are mostly a few glyphs long.
struct TextRun {
  uint32_t firstGlyph = 0;
  uint32_t glyphCount = 0;
};

struct PageContent;

}  // namespace ondrelkit

struct OkContent {
  ondrelkit::LibVector<OkElement*> elements;
};

struct OkElement {
  int32_t kind = kPdfElementText;
  // Containers:
  ondrelkit::PdfAtom tag = ondrelkit::kNoAtom;
  int32_t mcid = -1;
  OkContent content;
  // Text elements:
  const OkElement* markedContent = nullptr;
  const ondrelkit::PageContent* page = nullptr;  // holds the runs
  uint32_t firstRun = 0;
  uint32_t runCount = 0;
};

namespace ondrelkit {

struct PageContent : Handle {
  std::deque<OkElement, CallbackAllocator<OkElement>> elements;  // stable addresses
  LibVector<TextRun> runs;
  LibVector<Glyph> glyphs;
  LibVector<char16_t> unicode;  // the glyphs' texts one after the other
  OkElement root;               // the page itself, a container without tag or MCID
  PageContent() { root.kind = kPdfElementContainer; }
};

// Interprets the page's content once (annotations left out) into a new PageContent.
PageContent* BuildPageContent(const OkPage* page);

}  // namespace ondrelkit
