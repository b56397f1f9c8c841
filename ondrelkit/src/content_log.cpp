#include "src/content_log.h"

#include <algorithm>
#include <cstring>

namespace ondrelkit {

void ContentLog::Record(Kind kind, int32_t value, uint32_t at) {
  events_.push_back({kind, value, at});
  bytes_ += sizeof(Event);
}

void ContentLog::BeginMarked(const char* tag, int32_t mcid) {
  Record(Kind::BeginMarked, mcid, static_cast<uint32_t>(tags_.size()));
  tags_.emplace_back(tag);
  bytes_ += sizeof(std::string) + tags_.back().size();
}

void ContentLog::Glyph(const GlyphReport& glyph) {
  LoggedGlyph logged{};
  std::copy(glyph.box, glyph.box + 4, logged.box);
  std::memcpy(logged.codes, glyph.codes, sizeof logged.codes);
  logged.codeCount = glyph.codeCount;
  logged.unicodeAt = static_cast<uint32_t>(unicode_.size());
  logged.unicodeCount = static_cast<uint32_t>(glyph.unicodeCount);
  unicode_.append(glyph.unicode, glyph.unicodeCount);
  Record(Kind::Glyph, 0, static_cast<uint32_t>(glyphs_.size()));
  glyphs_.push_back(logged);
  bytes_ += sizeof(LoggedGlyph) + glyph.unicodeCount * sizeof(char16_t);
}

void ContentLog::Fail(int32_t code) {
  Record(Kind::Fail, code, 0);
  failed_ = true;
}

void ContentLog::ReplayInto(ContentSink& sink) const {
  for (const Event& event : events_) {
    if (sink.Done()) return;
    switch (event.kind) {
      case Kind::BeginMarked:
        sink.BeginMarked(tags_[event.at].c_str(), event.value);
        break;
      case Kind::EndMarked:
        sink.EndMarked();
        break;
      case Kind::BreakText:
        sink.BreakText();
        break;
      case Kind::BreakRun:
        sink.BreakRun();
        break;
      case Kind::Glyph: {
        const LoggedGlyph& logged = glyphs_[event.at];
        GlyphReport glyph{};
        std::copy(logged.box, logged.box + 4, glyph.box);
        std::memcpy(glyph.codes, logged.codes, sizeof glyph.codes);
        glyph.codeCount = logged.codeCount;
        glyph.unicode = unicode_.data() + logged.unicodeAt;
        glyph.unicodeCount = logged.unicodeCount;
        sink.Glyph(glyph);
        break;
      }
      case Kind::Fail:
        sink.Fail(event.value);
        break;
    }
  }
}

}  // namespace ondrelkit
