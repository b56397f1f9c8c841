#include "pdf/point_offset.h"

#include <span>

namespace osprevan::pdf {
namespace {

using Chars = std::span<const CommentBox>;

// Lines are runs of characters with the same top; the index where the line that starts at
// `from` ends. A line holds at least its first character, so a top that equals nothing (NaN)
// still moves the callers on.
size_t LineEnd(const Chars& chars, size_t from) {
  size_t end = from + 1;
  while (end < chars.size() && chars[end].top == chars[from].top) ++end;
  return end;
}

// Above the box: the characters of the first line that lie wholly left of x.
uint32_t AboveMiddle(const Chars& chars, float x) {
  const size_t end = LineEnd(chars, 0);
  size_t count = 0;
  while (count < end && chars[count].right < x) ++count;
  return static_cast<uint32_t>(count);
}

// Left of the box: the start of the first line that does not lie wholly above y.
uint32_t LeftMiddle(const Chars& chars, float y) {
  size_t at = 0;
  while (at < chars.size() && chars[at].bottom < y) at = LineEnd(chars, at);
  return static_cast<uint32_t>(at);
}

// Right of the box: whole lines are counted, and the next line is entered only while the line
// two before it starts above y (lines before the first start at 0).
uint32_t RightMiddle(const Chars& chars, float y) {
  size_t at = LineEnd(chars, 0);  // the first line always counts
  float twoBefore = 0.0f;         // the top of the line two before the one at `at`
  float oneBefore = chars[0].top;
  while (at < chars.size() && twoBefore < y) {
    twoBefore = oneBefore;
    oneBefore = chars[at].top;
    at = LineEnd(chars, at);
  }
  return static_cast<uint32_t>(at);
}

// Below the box: the characters before the end of the last line that lie wholly right of x.
uint32_t BelowLeftOrMiddle(const Chars& chars, float x) {
  const float lastBottom = chars.back().bottom;
  size_t at = chars.size();
  while (at > 0 && chars[at - 1].bottom == lastBottom && chars[at - 1].left > x) --at;
  return static_cast<uint32_t>(at);
}

}  // namespace

// Lines are those of the characters whose boxes are kept, the element's on the page being read;
// its characters on earlier pages come before them. Before and inside the box is its start.
uint32_t PointOffset(const ContentElement& element, float x, float y) {
  const Chars chars = element.chars.Boxes();
  if (chars.empty()) return 0;  // an element on the page has characters there
  const auto base = static_cast<uint32_t>(element.chars.BoxesFrom());
  enum Band { kBefore, kWithin, kAfter };
  const CommentBox& box = element.box;
  const Band column = x < box.left ? kBefore : (x > box.right ? kAfter : kWithin);
  const Band row = y < box.top ? kBefore : (y > box.bottom ? kAfter : kWithin);
  if (row == kBefore) {
    if (column == kBefore) return 0;
    return base +
           (column == kWithin ? AboveMiddle(chars, x) : static_cast<uint32_t>(LineEnd(chars, 0)));
  }
  if (row == kWithin) {
    if (column == kBefore) return base + LeftMiddle(chars, y);
    return column == kWithin ? 0 : base + RightMiddle(chars, y);
  }
  return base +
         (column == kAfter ? static_cast<uint32_t>(chars.size()) : BelowLeftOrMiddle(chars, x));
}

}  // namespace osprevan::pdf
