// The area a comment or a character covers on its page, in PDF units with the vertical axis
// measured downward from the top of the page box.
#pragma once

namespace osprevan::pdf {

struct CommentBox {
  float left = -1.0f;
  float top = -1.0f;
  float right = -1.0f;
  float bottom = -1.0f;
  float centreX = -1.0f;
  float centreY = -1.0f;
};

}  // namespace osprevan::pdf
