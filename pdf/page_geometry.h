// Boxes on a page as the import compares them: PDF user space turned into the page as it is
// shown (x to the right, y downward from the top edge), whatever the page's rotation.
#pragma once

#include <cstdint>

#include "pdf/comment_box.h"

namespace osprevan::pdf {

// What the boxes of one page are computed from: the upper and right edges of the page box and
// the page's rotation (0, 90, 180 or 270).
struct PageValues {
  float pageTop = 0.0f;
  float pageRight = 0.0f;
  int32_t pageRotation = 0;
};

// A rectangle in PDF user space, by its sides (any order of corners gives the same sides).
struct UserRect {
  float xMin = 0.0f;
  float yMin = 0.0f;
  float xMax = 0.0f;
  float yMax = 0.0f;
};

// How a comment's areas take the characters under them. Text markup and text boxes are drawn
// over the glyphs and may end a little short of a glyph's edge, so their areas reach a little
// past their sides; any other area (a square, a stamp, a note's icon) takes only the characters
// well inside it.
enum class AreaRule { Markup, Inset };

// The box of a comment area: narrowed on the left and right so that a character it only
// touches is not taken, with its centre nudged towards the text line.
CommentBox CommentBoxFromRect(const UserRect& rect, const PageValues& page);

// The box of one character as the content walk gives it.
CommentBox CharacterBox(const UserRect& rect, const PageValues& page);

// A box that any character's box widens to that character's box.
CommentBox EmptyElementBox(const PageValues& page);

// The horizontal margin by which each quadrilateral of a comment is widened before its box is
// made.
constexpr float kCommentMargin = 4.0f;

}  // namespace osprevan::pdf
