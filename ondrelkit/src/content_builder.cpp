#include "src/content_builder.h"

#include <algorithm>
#include <cstring>

#include "src/operations.h"

namespace ondrelkit {
namespace {

// Deeper marked content than this is kept at this depth; it only guards the stack.
constexpr size_t kMaxNesting = 256;

}  // namespace

template <typename F>
void ContentBuilder::Guard(F&& work) {
  if (failed_) return;
  try {
    work();
  } catch (const PdfError& error) {
    Fail(error.code());
  } catch (...) {
    Fail(kErrOutOfMemory);
  }
}

void ContentBuilder::Fail(int32_t code) {
  if (failed_) return;  // the first failure is the one to report
  failed_ = true;
  error_ = code;
}

OkElement& ContentBuilder::NewElement(int32_t kind) {
  OkElement& element = content_->elements.emplace_back();
  element.kind = kind;
  element.page = content_;
  open_.back()->content.elements.push_back(&element);
  return element;
}

const OkElement* ContentBuilder::InnermostMarked() const {
  for (auto at = open_.rbegin(); at != open_.rend(); ++at) {
    if ((*at)->mcid >= 0) return *at;
  }
  return nullptr;
}

void ContentBuilder::BeginMarked(const char* tag, int32_t mcid) {
  Guard([&] {
    text_ = nullptr;
    if (open_.size() >= kMaxNesting) {
      ++overflow_;
      return;
    }
    OkElement& container = NewElement(kPdfElementContainer);
    container.tag = AtomOf(tag);
    if (mcid >= 0) container.mcid = mcid;
    open_.push_back(&container);
  });
}

void ContentBuilder::EndMarked() {
  text_ = nullptr;
  if (overflow_ > 0) {
    --overflow_;
  } else if (open_.size() > 1) {  // an unbalanced EMC must not close the page itself
    open_.pop_back();
  }
}

void ContentBuilder::Glyph(const GlyphReport& report) {
  Guard([&] {
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
    ::ondrelkit::Glyph glyph{};
    std::copy(report.box, report.box + 4, glyph.box);
    std::memcpy(glyph.codes, report.codes, sizeof glyph.codes);
    glyph.codeCount = report.codeCount;
    LibVector<char16_t>& unicode = content_->unicode;
    glyph.unicodeAt = static_cast<uint32_t>(unicode.size());
    unicode.insert(unicode.end(), report.unicode, report.unicode + report.unicodeCount);
    glyph.unicodeCount = static_cast<uint8_t>(std::min<size_t>(report.unicodeCount, 255));
    content_->glyphs.push_back(glyph);
    ++run.glyphCount;
  });
}

}  // namespace ondrelkit
