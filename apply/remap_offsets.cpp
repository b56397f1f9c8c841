#include "apply/remap_offsets.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <climits>
#include <optional>

#include "apply/text_difference.h"

namespace osprevan::apply {
namespace {

// The characters of a UTF-8 text; null when it is not well-formed.
std::optional<std::u32string> CodePoints(const std::string& text) {
  // Guard: ICU's walk indexes in 32 bits.
  if (text.size() > static_cast<size_t>(INT32_MAX)) return std::nullopt;
  std::u32string out;
  out.reserve(text.size());
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) return std::nullopt;
    out.push_back(static_cast<char32_t>(c));
  }
  return out;
}

// Characters on each side of a point that must be as they were for the point to hold.
constexpr size_t kPointContext = 8;

enum class Step { Keep, Remove, Add, None };

// The walk over both texts takes the removed characters of a changed stretch before the added
// ones, so that an offset at the start of a removal stays before the text that replaces it.
Step NextStep(const TextDifference& diff, size_t a, size_t b) {
  const size_t n = diff.removed.size();
  const size_t m = diff.added.size();
  if (a < n && diff.removed[a]) return Step::Remove;
  if (b < m && diff.added[b]) return Step::Add;
  if (a < n && b < m) return Step::Keep;
  // Guard: kept characters pair up, so neither text runs out of them first; were one to, the
  // rest of the other counts as changed and the walk still ends.
  if (a < n) return Step::Remove;
  if (b < m) return Step::Add;
  return Step::None;
}

// Where the walk over the old text reaches `offset` (at most its length), in the new text; with
// `pastAdded`, after the text added right there.
uint32_t MapOffset(const TextDifference& diff, size_t offset, bool pastAdded) {
  size_t a = 0;
  size_t b = 0;
  for (;;) {
    const Step next = NextStep(diff, a, b);
    if (a == offset && !(pastAdded && next == Step::Add)) return static_cast<uint32_t>(b);
    // Guard: an offset past the old text ends at the end of the new one.
    if (next == Step::None) return static_cast<uint32_t>(b);
    if (next != Step::Add) ++a;
    if (next != Step::Remove) ++b;
  }
}

// Whether `after` holds, from `at`, the characters [start, end) of `before`.
bool HoldsSameText(const std::u32string& before, const std::u32string& after, size_t start,
                   size_t end, size_t at) {
  const size_t length = end - start;
  // Guard: never read past the new text.
  if (at > after.size() || after.size() - at < length) return false;
  for (size_t i = 0; i < length; ++i)
    if (!CharactersMatch(before[start + i], after[at + i])) return false;
  return true;
}

// Whether the text around a point is what it was: the characters on each side up to
// kPointContext, and where fewer stand there, the paragraph's edge at the same distance.
bool SameSurroundings(const std::u32string& before, const std::u32string& after, size_t point,
                      size_t mapped) {
  const size_t left = std::min(point, kPointContext);
  const size_t right = std::min(before.size() - point, kPointContext);
  if (mapped < left || after.size() - mapped < right) return false;
  if (left < kPointContext && mapped != left) return false;
  if (right < kPointContext && after.size() - mapped != right) return false;
  return HoldsSameText(before, after, point - left, point + right, mapped - left);
}

// `start` <= `end` <= the length of `before`.
RemapResult Carry(const std::u32string& before, const std::u32string& after, uint32_t start,
                  uint32_t end) {
  if (before == after) return {start, end, true};
  const std::optional<TextDifference> diff = DiffTexts(before, after);
  if (!diff) return {start, end, false};
  // A collapsed range is one point, mapped once: passing added text would put its start after
  // its end. A point has no characters of its own to compare, so the text around it must hold.
  if (start == end) {
    const uint32_t point = MapOffset(*diff, start, false);
    return {point, point, SameSurroundings(before, after, start, point)};
  }
  // A range holds only where the new text has, between its ends, the characters it had: ends
  // that map cleanly say nothing of a rewrite of the same length between them.
  const uint32_t newStart = MapOffset(*diff, start, true);
  if (HoldsSameText(before, after, start, end, newStart))
    return {newStart, newStart + (end - start), true};
  return {newStart, MapOffset(*diff, end, false), false};
}

// The PDF shows no special characters, so the offset is counted without those before it.
uint32_t WithoutSpecials(uint32_t offset, const std::vector<uint32_t>& specialPositions) {
  const auto before = std::count_if(specialPositions.begin(), specialPositions.end(),
                                    [offset](uint32_t position) { return position < offset; });
  // Guard: repeated positions never take the offset below 0.
  return offset - std::min(static_cast<uint32_t>(before), offset);
}

}  // namespace

RemapResult RemapOffsets(const std::string& pdfText, const std::string& hostText,
                         const std::vector<uint32_t>& specialPositions, uint32_t start,
                         uint32_t end) {
  const std::optional<std::u32string> before = CodePoints(pdfText);
  const std::optional<std::u32string> after = CodePoints(hostText);
  if (!before || !after) return {start, end, false};
  // Guard: an offset beyond the PDF text or an end before the start names no place in it.
  const auto length = static_cast<uint32_t>(std::min<size_t>(before->size(), UINT32_MAX));
  const bool inText = start <= end && end <= length;
  start = std::min(start, length);
  end = std::clamp(end, start, length);
  RemapResult result = Carry(*before, *after, start, end);
  if (!inText) result.trusted = false;
  if (result.trusted) {
    result.start = WithoutSpecials(result.start, specialPositions);
    result.end = WithoutSpecials(result.end, specialPositions);
  }
  return result;
}

}  // namespace osprevan::apply
