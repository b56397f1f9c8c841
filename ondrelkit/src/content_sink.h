// What interpreting a page reports, in content order: marked content opening and closing, the
// breaks between text objects and between shown strings, each glyph with its box, code bytes
// and Unicode, and a failure. A builder turns the reports into a page's content; a log keeps
// them to be built from later, on another thread than the one that interpreted the page.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ondrelkit {

struct GlyphReport {
  float box[4];  // left, bottom, right, top in default user space
  uint8_t codes[8];
  uint8_t codeCount;
  const char16_t* unicode;  // UTF-16, valid during the call only
  size_t unicodeCount;
};

class ContentSink {
 public:
  virtual ~ContentSink() = default;
  // `mcid` is -1 when the marked content has none.
  virtual void BeginMarked(const char* tag, int32_t mcid) = 0;
  virtual void EndMarked() = 0;
  // The text element in progress ends (a text object or marked content began or ended).
  virtual void BreakText() = 0;
  // The run in progress ends (a shown string began or ended).
  virtual void BreakRun() = 0;
  virtual void Glyph(const GlyphReport& glyph) = 0;
  virtual void Fail(int32_t code) = 0;
  // True once the interpretation may stop: nothing it reports will be used.
  virtual bool Done() const = 0;
};

}  // namespace ondrelkit
