// Where in a content element a point of the page falls, zone by zone around the element's box.
#include "pdf/point_offset.h"

#include <gtest/gtest.h>

namespace osprevan::pdf {
namespace {

// Four lines of three characters: lines start 10 apart at top 10 and are 8 high; characters
// are 8 wide, 10 apart from left 0. The box reaches from (0, 10) to (28, 48).
ContentElement FourLines() {
  ContentElement element;
  for (int i = 0; i < 12; ++i) {
    CharacterRecord c;
    c.box.left = 10.0f * (i % 3), c.box.top = 10.0f * (i / 3 + 1);
    c.box.right = c.box.left + 8, c.box.bottom = c.box.top + 8;
    element.chars.Append(c);
  }
  element.box = {0, 10, 28, 48, -1, -1};
  return element;
}

TEST(PointOffset, EachZoneOfTheBoxGivesItsOffset) {
  const ContentElement element = FourLines();
  const struct {
    const char* zone;
    float x, y;
    uint32_t offset;
  } cases[] = {
      {"left, above", -5, 5, 0},
      {"middle, above: first-line characters wholly left of x", 15, 5, 1},
      {"right, above: the first line", 35, 5, 3},
      {"left, middle: start of the first line reaching down to y", -5, 25, 3},
      {"left, middle: on the bottom edge", -5, 48, 9},
      {"inside", 15, 25, 0},
      {"right, middle: on the top edge", 35, 10, 6},
      {"right, middle: within the first line", 35, 15, 9},
      {"right, middle: lower down", 35, 25, 12},
      {"middle, below: last-line characters wholly right of x taken off", 15, 55, 11},
      {"left, below: the last line taken off", -5, 55, 9},
      {"right, below: every character", 35, 55, 12},
  };
  for (const auto& c : cases) EXPECT_EQ(PointOffset(element, c.x, c.y), c.offset) << c.zone;
}

}  // namespace
}  // namespace osprevan::pdf
