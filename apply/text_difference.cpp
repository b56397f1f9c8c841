#include "apply/text_difference.h"

#include <cstdint>
#include <limits>

namespace osprevan::apply {
namespace {

// Positions are held in 32 bits, and the diagonal vectors grow with the sum of both lengths.
constexpr size_t kMaxCombinedLength = size_t{1} << 22;
// Diagonals visited plus characters followed along snakes, over the whole comparison. Texts with
// a few edits need a small multiple of their length; only texts far apart come near the limit,
// which keeps a hostile pair to a fraction of a second.
constexpr int64_t kMaxWork = 20'000'000;
// Each split leaves at most half of the edits to either side, so the depth grows with log D; the
// limit only keeps a fault from running the stack out.
constexpr int kMaxDepth = 64;

constexpr int32_t kUnreachedForward = -1;
constexpr int32_t kUnreachedBackward = std::numeric_limits<int32_t>::max();

// The part of both texts still to compare: [x0, x1) of the old text, [y0, y1) of the new.
struct Box {
  int32_t x0, x1, y0, y1;
};

struct Point {
  int32_t x, y;
};

// Diagonal k holds the points with x - y == k. Each search keeps, per diagonal, the furthest x
// that a path with the current number of edits reaches: the forward search from the box's start,
// the backward search from its end. Where they meet lies a point of a shortest path.
class Differ {
 public:
  Differ(const std::u32string& before, const std::u32string& after, TextDifference& out)
      : a_(before), b_(after), out_(out) {}

  bool Run() {
    Box box{0, static_cast<int32_t>(a_.size()), 0, static_cast<int32_t>(b_.size())};
    StripMatchingEnds(box);
    // Every later box lies inside this one, so its diagonals, and one more on either side that
    // the search reads, are all the vectors need.
    origin_ = box.y1 - box.x0 + 1;
    span_ = static_cast<size_t>(box.x1 - box.x0) + static_cast<size_t>(box.y1 - box.y0) + 3;
    diagonals_.assign(2 * span_, 0);
    return Compare(box, 0);
  }

 private:
  bool Matches(int32_t x, int32_t y) const { return CharactersMatch(a_[x], b_[y]); }
  int32_t& Forward(int32_t k) { return diagonals_[static_cast<size_t>(origin_ + k)]; }
  int32_t& Backward(int32_t k) { return diagonals_[span_ + static_cast<size_t>(origin_ + k)]; }

  void StripMatchingEnds(Box& box) const {
    while (box.x0 < box.x1 && box.y0 < box.y1 && Matches(box.x0, box.y0)) ++box.x0, ++box.y0;
    while (box.x0 < box.x1 && box.y0 < box.y1 && Matches(box.x1 - 1, box.y1 - 1))
      --box.x1, --box.y1;
  }

  bool Compare(Box box, int depth);
  bool MiddleSnake(const Box& box, Point& meet);

  const std::u32string& a_;
  const std::u32string& b_;
  TextDifference& out_;
  std::vector<int32_t> diagonals_;
  int32_t origin_ = 0;
  size_t span_ = 0;
  int64_t work_ = 0;
};

// The first half recurses and the second continues in the loop, so the stack holds only one
// frame per halving of the edits.
bool Differ::Compare(Box box, int depth) {
  if (depth > kMaxDepth) return false;
  for (;;) {
    StripMatchingEnds(box);
    if (box.x0 == box.x1) {
      for (int32_t y = box.y0; y < box.y1; ++y) out_.added[static_cast<size_t>(y)] = true;
      return true;
    }
    if (box.y0 == box.y1) {
      for (int32_t x = box.x0; x < box.x1; ++x) out_.removed[static_cast<size_t>(x)] = true;
      return true;
    }
    Point meet{};
    if (!MiddleSnake(box, meet)) return false;
    // Guard: a meeting point outside the box, or at one of its corners, would make no progress.
    const bool inside =
        box.x0 <= meet.x && meet.x <= box.x1 && box.y0 <= meet.y && meet.y <= box.y1;
    const bool atCorner =
        (meet.x == box.x0 && meet.y == box.y0) || (meet.x == box.x1 && meet.y == box.y1);
    if (!inside || atCorner) return false;
    if (!Compare({box.x0, meet.x, box.y0, meet.y}, depth + 1)) return false;
    box = {meet.x, box.x1, meet.y, box.y1};
  }
}

// `box` has characters on both sides and differs at both of its ends. False when the work limit
// is reached first.
bool Differ::MiddleSnake(const Box& box, Point& meet) {
  const int32_t lowest = box.x0 - box.y1;
  const int32_t highest = box.x1 - box.y0;
  const int32_t startDiagonal = box.x0 - box.y0;
  const int32_t endDiagonal = box.x1 - box.y1;
  // With an odd difference of the two diagonals the paths meet in a forward step, else backward.
  const bool odd = ((startDiagonal - endDiagonal) & 1) != 0;
  int32_t fLow = startDiagonal, fHigh = startDiagonal;
  int32_t bLow = endDiagonal, bHigh = endDiagonal;
  Forward(startDiagonal) = box.x0;
  Backward(endDiagonal) = box.x1;

  for (;;) {
    if (work_ > kMaxWork) return false;
    // One edit more forward: the reached diagonals widen by one on each side; at an edge of the
    // box they step inward instead, which keeps their parity.
    if (fLow > lowest)
      Forward(--fLow - 1) = kUnreachedForward;
    else
      ++fLow;
    if (fHigh < highest)
      Forward(++fHigh + 1) = kUnreachedForward;
    else
      --fHigh;
    for (int32_t k = fHigh; k >= fLow; k -= 2) {
      const int32_t below = Forward(k - 1);  // a removal from there moves x on by one
      const int32_t above = Forward(k + 1);  // an addition from there keeps x
      int32_t x = below < above ? above : below + 1;
      int32_t y = x - k;
      const int32_t from = x;
      while (x < box.x1 && y < box.y1 && Matches(x, y)) ++x, ++y;
      work_ += 1 + (x - from);
      Forward(k) = x;
      if (odd && bLow <= k && k <= bHigh && Backward(k) <= x) {
        meet = {x, y};
        return true;
      }
    }
    // One edit more backward, the same from the box's end.
    if (bLow > lowest)
      Backward(--bLow - 1) = kUnreachedBackward;
    else
      ++bLow;
    if (bHigh < highest)
      Backward(++bHigh + 1) = kUnreachedBackward;
    else
      --bHigh;
    for (int32_t k = bHigh; k >= bLow; k -= 2) {
      const int32_t below = Backward(k - 1);  // an addition back from there keeps x
      const int32_t above = Backward(k + 1);  // a removal back from there moves x back by one
      int32_t x = below < above ? below : above - 1;
      int32_t y = x - k;
      const int32_t from = x;
      while (x > box.x0 && y > box.y0 && Matches(x - 1, y - 1)) --x, --y;
      work_ += 1 + (from - x);
      Backward(k) = x;
      if (!odd && fLow <= k && k <= fHigh && x <= Forward(k)) {
        meet = {x, y};
        return true;
      }
    }
  }
}

}  // namespace

std::optional<TextDifference> DiffTexts(const std::u32string& before, const std::u32string& after) {
  if (before.size() + after.size() > kMaxCombinedLength) return std::nullopt;
  TextDifference out{std::vector<bool>(before.size()), std::vector<bool>(after.size())};
  Differ differ(before, after, out);
  if (!differ.Run()) return std::nullopt;
  return out;
}

}  // namespace osprevan::apply
