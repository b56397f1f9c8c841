#include "pdf/character_match.h"

#include <algorithm>

#include "pdf/text_blanks.h"

namespace osprevan::pdf {
namespace {

// A character's centre is taken a point above the middle of its box, inside the line whatever
// the descent of its font.
constexpr float kCentreRaise = 1.0f;
// How far past its sides an area of text markup reaches along the line: markup drawn on the
// glyphs, or a little inside them, still takes its first and last character.
constexpr float kMarkupReachBefore = 1.0f;
constexpr float kMarkupReachAfter = 0.75f;
// How far inside its sides any other area must hold a character's centre.
constexpr float kInsetBefore = 3.0f;
constexpr float kInsetAfter = 3.25f;
// A blank or a punctuation mark is taken only when an area covers this share of its width:
// markup drawn a point or two past the glyphs reaches into the blank or the comma beside a word
// without meaning them, and a full stop set close under a word's last letter reaches back into
// markup that ends with the word.
constexpr float kBlankCoverage = 0.75f;

// The area holds the character's centre across the line, or, for an area thinner than the line
// (an underline some writers draw at the baseline alone), lies across the character for at
// least half its own height.
bool AcrossHolds(const UserRect& area, const UserRect& character) {
  const float y = (character.yMin + character.yMax) / 2 + kCentreRaise;
  if (area.yMin <= y && y <= area.yMax) return true;
  const float overlap = std::min(area.yMax, character.yMax) - std::max(area.yMin, character.yMin);
  const float height = std::min(area.yMax - area.yMin, character.yMax - character.yMin);
  return height > 0.0f && overlap >= height / 2;
}

// An area too small to hold a character well inside it (a note's icon written with no size)
// stands for a point: it takes the character whose box holds that point.
bool IsPointLike(const UserRect& area) {
  return area.xMax - area.xMin < kInsetBefore + kInsetAfter || !(area.yMax > area.yMin);
}

bool HoldsPoint(const UserRect& area, const UserRect& character) {
  const AreaPoint point = PointOfArea(area);
  return character.xMin <= point.x && point.x <= character.xMax && character.yMin <= point.y &&
         point.y <= character.yMax;
}

bool AlongHolds(const UserRect& area, const UserRect& character, AreaRule rule) {
  const float x = (character.xMin + character.xMax) / 2;
  if (rule == AreaRule::Markup)
    return area.xMin - kMarkupReachBefore <= x && x <= area.xMax + kMarkupReachAfter;
  return area.xMin + kInsetBefore <= x && x <= area.xMax - kInsetAfter;
}

bool CoversBlank(const UserRect& area, const UserRect& character) {
  const float width = character.xMax - character.xMin;
  const float covered = std::min(area.xMax, character.xMax) - std::max(area.xMin, character.xMin);
  if (!(width > 0.0f)) return area.xMin <= character.xMin && character.xMax <= area.xMax;
  return covered >= kBlankCoverage * width;
}

// `blank`: the character is a blank or a punctuation mark (IsBlankOrPunctuation), told once for
// all the page's comments.
bool Covers(const PdfComment& comment, const CharacterRecord& character, bool blank) {
  for (const UserRect& area : comment.areas()) {
    if (comment.areaRule() == AreaRule::Inset && IsPointLike(area)) {
      if (HoldsPoint(area, character.area)) return true;
      continue;
    }
    if (!AcrossHolds(area, character.area)) continue;
    if (blank && comment.areaRule() == AreaRule::Markup
            ? CoversBlank(area, character.area)
            : AlongHolds(area, character.area, comment.areaRule())) {
      return true;
    }
  }
  return false;
}

// A note takes the first character under its icon; a later, better match never moves it. The
// place is moved to the end of that character's word once the page is read.
void MatchNote(PdfComment& comment, const CharacterRecord& character, bool blank,
               ContentElement* element, uint32_t offset) {
  if (comment.pointMatched() || !Covers(comment, character, blank)) return;
  comment.SetPointMatched(true);
  const TextPosition point{element, offset};
  comment.SetRange({point, point});
}

// The characters a range takes in between two covered ones that no box covered (a space at a
// line end, say), so that the marked text is the text of the whole range.
void AppendSkippedText(PdfComment& comment, const ContentElement* element, uint32_t offset) {
  if (!comment.hasRange()) return;
  const TextPosition& end = comment.range().end;
  if (end.element == element && end.offset < offset) {
    comment.AppendMarkedText(element->chars.Text(end.offset, offset));
  } else if (end.element && end.element != element) {
    // The rest of the element the range leaves, then the start of the one it enters.
    comment.AppendMarkedText(end.element->chars.Text(end.offset, end.element->chars.size()));
    if (offset > 0) comment.AppendMarkedText("\n" + element->chars.Text(0, offset));
  }
}

// Every other comment covers the characters under it. Text outside the structure cannot be
// placed, so covering it makes the comment's place uncertain.
void MatchCovered(PdfComment& comment, const CharacterRecord& character, bool blank,
                  ContentElement* element, uint32_t offset) {
  if (!Covers(comment, character, blank)) return;
  if (element) {
    AppendSkippedText(comment, element, offset);
    const TextPosition start =
        comment.hasRange() ? comment.range().start : TextPosition{element, offset};
    comment.SetRange({start, TextPosition{element, offset + 1}});
  } else {
    comment.SetPlacementConfirmed(0);
  }
  if (offset == 0) comment.AppendMarkedText("\n");
  comment.AppendMarkedText(character.text);
}

}  // namespace

AreaPoint PointOfArea(const UserRect& area) {
  if (IsPointLike(area)) return {(area.xMin + area.xMax) / 2, (area.yMin + area.yMax) / 2, true};
  return {area.xMin, area.yMax, false};
}

bool HasSubtype(const PdfComment& comment, const CommentSubtype* subtype) {
  return subtype && comment.subtype() == subtype;
}

void MatchCharacter(DocumentContext& context, const CharacterRecord& character,
                    ContentElement* element, uint32_t offset) {
  MatchCharacter(context, character, element, offset, MatchSubtypes{});
}

void MatchCharacter(DocumentContext& context, const CharacterRecord& character,
                    ContentElement* element, uint32_t offset, const MatchSubtypes& subtypes) {
  const auto page = context.commentsByPage.find(context.pageIndex);
  if (page == context.commentsByPage.end()) return;
  const bool blank = IsBlankOrPunctuation(character.text);
  for (const auto& held : page->second) {
    PdfComment& comment = *held;
    if (!comment.MayCover(character.area)) continue;
    // A Caret's point is the character boundary nearest to it, chosen once the whole page is
    // read (PlacePointComments).
    if (HasSubtype(comment, subtypes.caret)) continue;
    if (element && comment.pointing()) {
      // A note keeps the place of the first character under it. Letting a note whose place is
      // confirmed fall through to the covering rule would stretch it over the characters that
      // follow under its icon and move its marker off the word it points at.
      MatchNote(comment, character, blank, element, offset);
    } else if (!comment.pointing() || !comment.pointMatched()) {
      MatchCovered(comment, character, blank, element, offset);
    }
  }
}

}  // namespace osprevan::pdf
