#include "pdf/page_lines.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace osprevan::pdf {
namespace {

float Height(const PageLine& line) {
  return line.yMax - line.yMin;
}

// A character starts a new line when it shares no height with the line so far, or when it goes
// back along the line by more than half the line's height (the next line of a paragraph that
// happens to sit level, as in a narrow table cell, never does both).
bool StartsNewLine(const PageLine& line, const UserRect& area) {
  if (line.characters.empty()) return true;
  const float overlap = std::min(line.yMax, area.yMax) - std::max(line.yMin, area.yMin);
  if (!(overlap > 0.0f)) return true;
  return area.xMin < line.characters.back().area.xMin - Height(line) / 2;
}

// How far `y` lies outside the line's extent across the text; 0 inside it.
float AcrossDistance(const PageLine& line, float y) {
  if (y < line.yMin) return line.yMin - y;
  if (y > line.yMax) return y - line.yMax;
  return 0.0f;
}

}  // namespace

std::vector<PageLine> PageLines(const std::vector<ContentElement*>& elements) {
  std::vector<PageLine> lines;
  for (ContentElement* element : elements) {
    const auto areas = element->chars.Areas();
    const auto base = static_cast<uint32_t>(element->chars.BoxesFrom());
    PageLine* line = nullptr;
    for (size_t i = 0; i < areas.size(); ++i) {
      const UserRect& area = areas[i];
      // A box that is no box (a number the library could not give) belongs to no line.
      if (!std::isfinite(area.xMin) || !std::isfinite(area.xMax) || !std::isfinite(area.yMin) ||
          !std::isfinite(area.yMax)) {
        continue;
      }
      if (!line || StartsNewLine(*line, area)) {
        lines.push_back(PageLine{area.yMin, area.yMax, {}});
        line = &lines.back();
      }
      line->yMin = std::min(line->yMin, area.yMin);
      line->yMax = std::max(line->yMax, area.yMax);
      line->characters.push_back({element, base + static_cast<uint32_t>(i), area});
    }
  }
  return lines;
}

std::string PlaceText(const LinePoint& point) {
  constexpr uint32_t kAround = 12;
  const ElementCharacters& chars = point.element->chars;
  const uint32_t from = point.offset > kAround ? point.offset - kAround : 0;
  return "\"" + chars.Text(from, point.offset) + "|" +
         chars.Text(point.offset, point.offset + kAround) + "\"";
}

float NearestLineHeight(const std::vector<PageLine>& lines, float y) {
  float nearest = std::numeric_limits<float>::infinity();
  float height = 0.0f;
  for (const PageLine& line : lines) {
    const float across = AcrossDistance(line, y);
    if (across <= Height(line) && across < nearest) {
      nearest = across;
      height = Height(line);
    }
  }
  return height;
}

bool NearestBoundary(const std::vector<PageLine>& lines, float x, float y, LinePoint& out) {
  // Lines level with each other (table cells of one row, columns) are all measured; a line
  // only an arbitrarily small distance further across is not level.
  constexpr float kLevel = 0.5f;
  float nearestAcross = std::numeric_limits<float>::infinity();
  for (const PageLine& line : lines) {
    const float across = AcrossDistance(line, y);
    if (across <= Height(line)) nearestAcross = std::min(nearestAcross, across);
  }
  if (!std::isfinite(nearestAcross)) return false;
  float best = std::numeric_limits<float>::infinity();
  float bestHeight = 0.0f;
  for (const PageLine& line : lines) {
    const float across = AcrossDistance(line, y);
    if (across > Height(line) || across > nearestAcross + kLevel) continue;
    for (const LineCharacter& c : line.characters) {
      const float before = std::fabs(c.area.xMin - x);
      const float after = std::fabs(c.area.xMax - x);
      if (before < best) {
        best = before;
        bestHeight = Height(line);
        out = {c.element, c.offset};
      }
      if (after < best) {
        best = after;
        bestHeight = Height(line);
        out = {c.element, c.offset + 1};
      }
    }
  }
  return std::isfinite(best) && best <= bestHeight;
}

}  // namespace osprevan::pdf
