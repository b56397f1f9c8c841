// Boxes of comments and characters on pages at each rotation.
#include <gtest/gtest.h>

#include <array>

#include "pdf/page_geometry.h"

namespace osprevan::pdf {
namespace {

constexpr float kTop = 842.0f;
constexpr float kRight = 595.0f;

// The conversions as they were always written for upright pages and pages turned a quarter,
// from a rectangle's left l, bottom b, right r and top t in user space.
CommentBox Original(const UserRect& rect, int rotation, bool character) {
  const float l = rect.xMin, b = rect.yMin, r = rect.xMax, t = rect.yMax, H = kTop;
  const float narrowing = character ? 1.0f : 2.75f, nudge = character ? 0.5f : 1.0f;
  if (rotation == 0) {
    return {character ? l : l + 3.5f,      H - t, r - narrowing, H - b, (l + r) / 2 + nudge,
            ((H - b) + (H - t)) / 2 - 1.0f};
  }
  return {character ? b : b + 5.0f, l, t - narrowing, r, (t + b) / 2 + nudge, (l + r) / 2 + 1.0f};
}

std::array<float, 6> Sides(const CommentBox& b) {
  return {b.left, b.top, b.right, b.bottom, b.centreX, b.centreY};
}

bool Inside(float x, float y, const CommentBox& box) {
  return box.left <= x && x <= box.right && box.top <= y && y <= box.bottom;
}

TEST(PageGeometryTest, UprightAndQuarterTurnedPagesKeepTheirFormulas) {
  const UserRect rects[] = {{72, 700, 78.5f, 712}, {0, 0, 10, 10}, {300.25f, 20, 540, 33.5f}};
  for (int rotation : {0, 90}) {
    for (const UserRect& rect : rects) {
      SCOPED_TRACE(::testing::Message() << rotation << ": " << rect.xMin << "," << rect.yMin);
      const PageValues page{kTop, kRight, rotation};
      EXPECT_EQ(Sides(CommentBoxFromRect(rect, page)), Sides(Original(rect, rotation, false)));
      EXPECT_EQ(Sides(CharacterBox(rect, page)), Sides(Original(rect, rotation, true)));
    }
  }
}

// Characters 6 wide on one line. At every rotation a comment over one of them (its
// quadrilateral widened by the margin on the sides left and right as shown) takes that
// character's centre and neither neighbour's, and its own centre lies in the character's box,
// as on the upright page.
TEST(PageGeometryTest, CommentsAndCharactersMeetAtEveryRotation) {
  auto character = [](int i) { return UserRect{100.0f + 6 * i, 700, 106.0f + 6 * i, 712}; };
  for (int rotation : {0, 90, 180, 270}) {
    SCOPED_TRACE(rotation);
    const PageValues page{kTop, kRight, rotation};
    const bool quarter = rotation == 90 || rotation == 270;
    for (int i = 1; i <= 3; ++i) {
      UserRect quad = character(i);
      (quarter ? quad.yMin : quad.xMin) -= kCommentMargin;
      (quarter ? quad.yMax : quad.xMax) += kCommentMargin;
      const CommentBox comment = CommentBoxFromRect(quad, page);
      for (int j = i - 1; j <= i + 1; ++j) {
        const CommentBox box = CharacterBox(character(j), page);
        EXPECT_EQ(Inside(box.centreX, box.centreY, comment), i == j) << i << " " << j;
      }
      EXPECT_TRUE(Inside(comment.centreX, comment.centreY, CharacterBox(character(i), page)));
    }
  }
}

}  // namespace
}  // namespace osprevan::pdf
