// The lines of text on the page being read, from the boxes of its characters: what a Caret is
// measured against.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdf/content_element.h"
#include "pdf/page_geometry.h"

namespace osprevan::pdf {

// One character of a line, by its element and its offset there, with its box in user space.
struct LineCharacter {
  ContentElement* element = nullptr;
  uint32_t offset = 0;
  UserRect area;
};

// A run of one element's characters that follow each other along one line. Its extent across
// the text is the union of theirs.
struct PageLine {
  float yMin = 0.0f;
  float yMax = 0.0f;
  std::vector<LineCharacter> characters;
};

// The lines of the characters whose boxes the elements keep, in the order given. Text runs along
// the x axis of user space on every page the host writes, so lines are told apart by y.
std::vector<PageLine> PageLines(const std::vector<ContentElement*>& elements);

// The character boundary nearest to `point` along the line whose extent across the text holds
// it, or else along the nearest line within one line height of it: before a character is its
// offset, after it the next one. Nothing when no line is that near, or when the nearest boundary
// lies more than a line height away along the line.
struct LinePoint {
  ContentElement* element = nullptr;
  uint32_t offset = 0;
};
bool NearestBoundary(const std::vector<PageLine>& lines, float x, float y, LinePoint& out);

// The text around a place, with a bar at it ("num|bered"), to name it in the report.
std::string PlaceText(const LinePoint& point);

// The height of the line `NearestBoundary` would measure along for a point at height `y`; 0
// when no line is near enough.
float NearestLineHeight(const std::vector<PageLine>& lines, float y);

}  // namespace osprevan::pdf
