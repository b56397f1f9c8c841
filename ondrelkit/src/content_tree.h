// A page's interpreted content: marked-content containers holding text elements, which hold
// runs of characters with their boxes, codes and Unicode. Built once per acquired page.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ondrelkit/ondrelkit.h"
#include "src/memory.h"

namespace ondrelkit {

template <typename T>
using LibVector = std::vector<T, CallbackAllocator<T>>;

struct Glyph {
  float box[4];  // left, bottom, right, top in default user space
  uint32_t unicodeAt;
  uint8_t unicodeCount;
  uint8_t codeCount;
  uint8_t codes[8];
};

struct TextRun {
  LibVector<Glyph> glyphs;
  LibVector<char16_t> unicode;  // the glyphs' texts one after the other
};

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
  ondrelkit::LibVector<ondrelkit::TextRun> runs;
};

namespace ondrelkit {

struct PageContent : Handle {
  std::deque<OkElement, CallbackAllocator<OkElement>> elements;  // stable addresses
  OkElement root;  // the page itself, a container without tag or MCID
  PageContent() { root.kind = kPdfElementContainer; }
};

// Interprets the page's content once (annotations left out) into a new PageContent.
PageContent* BuildPageContent(const OkPage* page);

}  // namespace ondrelkit
