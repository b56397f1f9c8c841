// What interpreting one page reported, kept in plain memory so that a page can be interpreted
// on the read-ahead thread and built on the client's thread (whose memory callbacks are the
// client's to call). Replaying it into a builder builds what the builder would have built had
// it been handed the reports directly.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "src/content_sink.h"

namespace ondrelkit {

class ContentLog final : public ContentSink {
 public:
  // `stop` is polled to end the interpretation early; it outlives the log's recording. A log
  // that would hold more than `limit` bytes ends the interpretation too, as too large.
  explicit ContentLog(const std::atomic<bool>* stop = nullptr, size_t limit = SIZE_MAX)
      : stop_(stop), limit_(limit) {}

  void BeginMarked(const char* tag, int32_t mcid) override;
  void EndMarked() override { Record(Kind::EndMarked, 0, 0); }
  void BreakText() override { Record(Kind::BreakText, 0, 0); }
  void BreakRun() override { Record(Kind::BreakRun, 0, 0); }
  void Glyph(const GlyphReport& glyph) override;
  void Fail(int32_t code) override;
  bool Done() const override {
    return failed_ || TooLarge() || (stop_ && stop_->load(std::memory_order_relaxed));
  }

  // The memory the log holds, about: what it recorded, not its arrays' spare room.
  size_t Bytes() const { return bytes_; }
  bool TooLarge() const { return bytes_ > limit_; }

  void ReplayInto(ContentSink& sink) const;

 private:
  enum class Kind : uint8_t { BeginMarked, EndMarked, BreakText, BreakRun, Glyph, Fail };
  struct Event {
    Kind kind;
    int32_t value;  // the MCID, or the failure's code
    uint32_t at;    // the tag's or the glyph's place in its array
  };
  struct LoggedGlyph {
    float box[4];
    uint8_t codes[8];
    uint8_t codeCount;
    uint32_t unicodeAt;
    uint32_t unicodeCount;
  };

  void Record(Kind kind, int32_t value, uint32_t at);

  const std::atomic<bool>* stop_;
  size_t limit_;
  size_t bytes_ = 0;
  bool failed_ = false;
  std::vector<Event> events_;
  std::vector<std::string> tags_;
  std::vector<LoggedGlyph> glyphs_;
  std::u16string unicode_;
};

}  // namespace ondrelkit
