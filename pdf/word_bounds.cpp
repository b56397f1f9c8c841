#include "pdf/word_bounds.h"

#include <algorithm>
#include <string>
#include <vector>

#include "support/unicode_text.h"

namespace osprevan::pdf {
namespace {

// Words are looked for this many characters either side of the offset: longer words are cut
// there, which leaves a note inside a word rather than reading a long paragraph again.
constexpr uint32_t kReach = 48;

}  // namespace

WordBreaks::~WordBreaks() {
  if (iterator_) ubrk_close(iterator_);
}

WordSpan WordBreaks::WordAt(const ElementCharacters& chars, uint32_t offset) {
  const WordSpan alone{offset, offset + 1, false};
  if (offset >= chars.size()) return {offset, offset, false};
  const uint32_t from = offset > kReach ? offset - kReach : 0;
  const uint32_t to = static_cast<uint32_t>(std::min<size_t>(chars.size(), offset + kReach + 1));
  // Where each character starts in the UTF-16 text the iterator reads.
  std::u16string text;
  std::vector<int32_t> starts;
  for (uint32_t i = from; i < to; ++i) {
    starts.push_back(static_cast<int32_t>(text.size()));
    text += support::Utf8ToUtf16(chars.Text(i, i + 1)).value_or(u"\uFFFD");
  }
  starts.push_back(static_cast<int32_t>(text.size()));
  const int32_t at = starts[offset - from];
  if (starts[offset - from + 1] == at) return alone;  // a character without text

  UErrorCode status = U_ZERO_ERROR;
  if (!iterator_ && !failed_) {
    iterator_ = ubrk_open(UBRK_WORD, "", nullptr, 0, &status);
    if (U_FAILURE(status)) {
      if (iterator_) ubrk_close(iterator_);
      iterator_ = nullptr;
      failed_ = true;
    }
  }
  if (!iterator_) return alone;
  ubrk_setText(iterator_, reinterpret_cast<const UChar*>(text.data()),
               static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) return alone;
  const int32_t end = ubrk_following(iterator_, at);
  const int32_t rule = ubrk_getRuleStatus(iterator_);
  if (end == UBRK_DONE || (rule >= UBRK_WORD_NONE && rule < UBRK_WORD_NONE_LIMIT)) return alone;
  const int32_t start = ubrk_preceding(iterator_, at + 1);
  if (start == UBRK_DONE) return alone;
  // Boundaries inside a character (never met: one character is one cluster) round outward.
  const auto index = [&](int32_t unit, bool up) {
    auto found = std::lower_bound(starts.begin(), starts.end(), unit);
    if (!up && *found != unit) --found;
    return from + static_cast<uint32_t>(found - starts.begin());
  };
  const bool ideographic = rule >= UBRK_WORD_KANA && rule < UBRK_WORD_IDEO_LIMIT;
  return {index(start, false), index(end, true), true, ideographic};
}

}  // namespace osprevan::pdf
