// Builds a page's content from what interpreting the page reports: marked-content containers
// holding text elements, which hold runs of glyphs. Its memory comes from the client's
// callbacks, so it runs on the thread the client called the library from.
#pragma once

#include <vector>

#include "src/content_sink.h"
#include "src/content_tree.h"

namespace ondrelkit {

class ContentBuilder final : public ContentSink {
 public:
  explicit ContentBuilder(PageContent* content) : content_(content) {
    open_.push_back(&content->root);
  }

  bool failed() const { return failed_; }
  int32_t error() const { return error_; }

  void BeginMarked(const char* tag, int32_t mcid) override;
  void EndMarked() override;
  void BreakText() override { text_ = nullptr; }
  void BreakRun() override { newRun_ = true; }
  void Glyph(const GlyphReport& glyph) override;
  void Fail(int32_t code) override;
  bool Done() const override { return failed_; }

 private:
  template <typename F>
  void Guard(F&& work);
  OkElement& NewElement(int32_t kind);
  const OkElement* InnermostMarked() const;

  PageContent* content_;
  std::vector<OkElement*> open_;  // the open containers, the page itself first
  size_t overflow_ = 0;
  OkElement* text_ = nullptr;
  bool newRun_ = true;
  bool failed_ = false;
  int32_t error_ = 0;
};

}  // namespace ondrelkit
