#include "pdf/note_places.h"

#include <utility>

#include "pdf/character_match.h"

namespace osprevan::pdf {
namespace {

// How much farther from the corner another line may lie than the line the icon covers first
// and still claim the note: a corner in the leading between two paragraphs has a claim on both
// unless it lies in the third of the leading next to one of them. A corner on the covered
// line's own characters (0 away) leaves another line a claim only when it lies on that line's
// characters too, as on a raised footnote number that reaches into the line above.
constexpr float kComparable = 2.0f;

// How far `y` lies above or below the box; 0 inside it.
float AcrossDistance(const UserRect& box, float y) {
  if (y < box.yMin) return box.yMin - y;
  if (y > box.yMax) return y - box.yMax;
  return 0.0f;
}

// A note's marker goes after the word it points at; on a blank or a punctuation mark it stays
// before that character, which is the end of the word before it.
TextPosition WordEnd(TextPosition at, WordBreaks& words) {
  const WordSpan word = words.WordAt(at.element->chars, at.offset);
  if (word.isWord) at.offset = word.end;
  return at;
}

const LineCharacter* CharacterAt(const std::vector<PageLine>& lines, const TextPosition& at) {
  for (const PageLine& line : lines) {
    for (const LineCharacter& c : line.characters) {
      if (c.element == at.element && c.offset == at.offset) return &c;
    }
  }
  return nullptr;
}

// The character under the point along the line, on a line other than `covered`'s, nearest to
// the point across the lines and no further than its own height. A character whose middle lies
// within `covered`'s height stands on the same line (a footnote number raised on it, the
// columns of a table row).
const LineCharacter* OtherLineUnder(const std::vector<PageLine>& lines, const UserRect& covered,
                                    const AreaPoint& point, float& across) {
  const LineCharacter* nearest = nullptr;
  for (const PageLine& line : lines) {
    for (const LineCharacter& c : line.characters) {
      if (point.x < c.area.xMin || point.x > c.area.xMax) continue;
      const float middle = (c.area.yMin + c.area.yMax) / 2;
      if (covered.yMin <= middle && middle <= covered.yMax) continue;
      const float distance = AcrossDistance(c.area, point.y);
      if (distance > c.area.yMax - c.area.yMin) continue;
      if (!nearest || distance < across) {
        nearest = &c;
        across = distance;
      }
    }
  }
  return nearest;
}

}  // namespace

void PlaceNote(PdfComment& comment, const std::vector<PageLine>& lines, WordBreaks& words) {
  if (!comment.pointMatched() || !comment.hasRange()) return;
  const TextPosition first = comment.range().start;
  if (!first.element) return;
  TextPosition place = WordEnd(first, words);
  const LineCharacter* covered = comment.areas().empty() ? nullptr : CharacterAt(lines, first);
  if (covered) {
    const AreaPoint point = PointOfArea(comment.areas().front());
    const float own = AcrossDistance(covered->area, point.y);
    float across = 0.0f;
    const LineCharacter* other = OtherLineUnder(lines, covered->area, point, across);
    if (other && across <= kComparable * own) {
      TextPosition otherPlace = WordEnd({other->element, other->offset}, words);
      if (!(otherPlace == place)) {
        // The corner's own line is the likelier reading: writers set the corner where the
        // reviewer pointed.
        if (across < own) std::swap(place, otherPlace);
        comment.SetOtherPlace(PlaceText({otherPlace.element, otherPlace.offset}));
      }
    }
  }
  comment.SetRange({place, place});
}

}  // namespace osprevan::pdf
