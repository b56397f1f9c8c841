// Boxes of comments and characters on pages at each rotation: which character a comment takes.
#include <gtest/gtest.h>

#include "pdf/page_geometry.h"

namespace osprevan::pdf {
namespace {

constexpr float kTop = 842.0f;
constexpr float kRight = 595.0f;

bool Inside(float x, float y, const CommentBox& box) {
  return box.left <= x && x <= box.right && box.top <= y && y <= box.bottom;
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
