#include "pdf/page_end_fallback.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "pdf/point_offset.h"

namespace osprevan::pdf {
namespace {

using Elements = std::vector<ContentElement*>;

// A window holds at least this many elements from its start, even ones far below the comment.
constexpr size_t kWindowMinimum = 10;

// The content elements a comment of `page` may be placed on: those of its page, or, on a page
// where no element starts, those of the page before whose text runs on to this page. Ordered
// by the top of their boxes.
Elements Candidates(const DocumentContext& context, int32_t page) {
  Elements out;
  const auto own = context.elementsByPage.find(page);
  if (own != context.elementsByPage.end() && !own->second.empty()) {
    out = own->second;
  } else if (page > 0) {
    const auto before = context.elementsByPage.find(page - 1);
    if (before != context.elementsByPage.end()) {
      for (ContentElement* element : before->second) {
        if (element->lastPage == page) out.push_back(element);
      }
    }
  }
  std::stable_sort(out.begin(), out.end(), [](const ContentElement* a, const ContentElement* b) {
    return a->box.top < b->box.top;
  });
  return out;
}

struct Extent {
  float left = std::numeric_limits<float>::infinity();
  float top = std::numeric_limits<float>::infinity();
  float right = -std::numeric_limits<float>::infinity();
  float bottom = -std::numeric_limits<float>::infinity();
};

Extent ExtentOf(const PdfComment& comment) {
  Extent e;
  for (const auto& box : comment.boxes()) {
    e.left = std::min(e.left, box->left);
    e.top = std::min(e.top, box->top);
    e.right = std::max(e.right, box->right);
    e.bottom = std::max(e.bottom, box->bottom);
  }
  return e;
}

// The elements near the comment's rows: from the first element that reaches down to a comment
// height above the comment, at least ten, and then on while elements still start above the
// comment's bottom (or level with the window's first one).
std::pair<size_t, size_t> Window(const Elements& sorted, const Extent& comment) {
  const float reach = comment.top - (comment.bottom - comment.top);
  size_t first = 0;
  while (first < sorted.size() && !(sorted[first]->box.bottom >= reach)) ++first;
  if (first == sorted.size()) first = sorted.size() - 1;
  size_t end = std::min(sorted.size(), first + kWindowMinimum);
  const float firstTop = sorted[first]->box.top;
  while (end < sorted.size() &&
         !(sorted[end]->box.top > comment.bottom && sorted[end]->box.top > firstTop)) {
    ++end;
  }
  return {first, end};
}

// The gap between two spans of one axis; 0 when they overlap.
float Gap(float low1, float high1, float low2, float high2) {
  if (high1 < low2) return low2 - high1;
  if (high2 < low1) return low1 - high2;
  return 0.0f;
}

// Rows count double: a comment belongs to the line beside it sooner than to the one above.
float Distance(const ContentElement& element, const PdfComment& comment) {
  float across = std::numeric_limits<float>::infinity();
  float down = std::numeric_limits<float>::infinity();
  const CommentBox& e = element.box;
  for (const auto& box : comment.boxes()) {
    across = std::min(across, Gap(e.left, e.right, box->left, box->right));
    down = std::min(down, Gap(e.top, e.bottom, box->top, box->bottom));
  }
  return 2 * down + across;
}

// How much of the comment's height the element's rows stand beside.
float RowOverlap(const ContentElement& element, const Extent& comment) {
  return std::max(
      0.0f, std::min(element.box.bottom, comment.bottom) - std::max(element.box.top, comment.top));
}

// Whether the comment stands wholly in a margin: left of every element of the window, or right
// of every one. There the distance across says only how long each paragraph's lines run.
bool InMargin(const Elements& sorted, size_t first, size_t end, const Extent& extent) {
  bool left = true;
  bool right = true;
  for (size_t i = first; i < end; ++i) {
    left = left && extent.right <= sorted[i]->box.left;
    right = right && extent.left >= sorted[i]->box.right;
  }
  return left || right;
}

// In a margin, the element whose rows stand beside most of the comment's height: a box taller
// than its line that reaches a little into the paragraph above or below belongs to the one it
// mostly stands beside. Of those beside as much (the cells of one table row), the nearest.
// Nothing when no element has a row beside it.
ContentElement* MostBeside(const Elements& sorted, size_t first, size_t end, const Extent& extent,
                           const PdfComment& comment) {
  constexpr float kAsMuch = 0.5f;  // points of height
  float most = 0.0f;
  for (size_t i = first; i < end; ++i) most = std::max(most, RowOverlap(*sorted[i], extent));
  if (most <= 0.0f) return nullptr;
  ContentElement* nearest = nullptr;
  float best = std::numeric_limits<float>::infinity();
  for (size_t i = first; i < end; ++i) {
    if (RowOverlap(*sorted[i], extent) < most - kAsMuch) continue;
    const float distance = Distance(*sorted[i], comment);
    if (!nearest || distance < best) {
      best = distance;
      nearest = sorted[i];
    }
  }
  return nearest;
}

ContentElement* Nearest(const Elements& sorted, const PdfComment& comment, const Extent& extent) {
  if (sorted.empty()) return nullptr;
  const auto [first, end] = Window(sorted, extent);
  if (InMargin(sorted, first, end, extent)) {
    if (ContentElement* beside = MostBeside(sorted, first, end, extent, comment)) return beside;
  }
  ContentElement* nearest = nullptr;
  float best = std::numeric_limits<float>::infinity();
  for (size_t i = first; i < end; ++i) {
    const float distance = Distance(*sorted[i], comment);
    // Strictly nearer only: of two at the same distance the one higher up stays. A distance
    // that is not a number (a box beyond every number) never wins.
    if (distance < best) {
      best = distance;
      nearest = sorted[i];
    }
  }
  return nearest;
}

void Place(PdfComment& comment, const Elements& sorted) {
  // Without a box there is nothing to measure from.
  if (!comment.boxes().empty()) {
    const Extent extent = ExtentOf(comment);
    if (ContentElement* nearest = Nearest(sorted, comment, extent)) {
      const float x = (extent.left + extent.right) / 2;
      const float y = (extent.top + extent.bottom) / 2;
      const TextPosition point{nearest, PointOffset(*nearest, x, y)};
      comment.SetRange({point, point});
      comment.SetApproximate(true);
    }
  }
  comment.SetPlacementConfirmed(0);
}

}  // namespace

// The placing loop reads page after page; a comment that is still without a range after its
// own page was walked gains nothing later, since later pages add no element to its candidates.
// Running over the current page alone therefore places exactly what a run over every page read
// so far would, and keeps each page's time independent of how many pages came before it.
void PageEndFallback(DocumentContext& context) {
  const auto page = context.commentsByPage.find(context.pageIndex);
  if (page == context.commentsByPage.end()) return;
  Elements sorted;
  bool sortedMade = false;
  for (const auto& held : page->second) {
    PdfComment& comment = *held;
    if (comment.hasRange()) continue;
    if (!sortedMade) {
      sorted = Candidates(context, context.pageIndex);
      sortedMade = true;
    }
    Place(comment, sorted);
  }
}

}  // namespace osprevan::pdf
