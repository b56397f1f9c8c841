#include "pdf/point_comments.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "pdf/character_match.h"
#include "pdf/note_places.h"
#include "pdf/page_lines.h"
#include "pdf/text_blanks.h"
#include "pdf/word_bounds.h"

namespace osprevan::pdf {
namespace {

// A caret no taller than about a line points with its tip, at its top: one drawn under the
// baseline with its tip on it, as some viewers set carets, has its middle in the line below.
// A taller caret is centred on the line it marks.
bool PointsWithTip(const UserRect& caret, const std::vector<PageLine>& lines) {
  const float middle = (caret.yMin + caret.yMax) / 2;
  return caret.yMax - caret.yMin <= NearestLineHeight(lines, middle) * 1.25f;
}

// The height at which a caret is set on its line. Its tip is taken a little inside, since a
// caret as high as the line has its tip on the edge between two lines.
float CaretHeight(const UserRect& caret, const std::vector<PageLine>& lines) {
  constexpr float kTipInside = 2.0f;
  const float height = caret.yMax - caret.yMin;
  if (!PointsWithTip(caret, lines)) return (caret.yMin + caret.yMax) / 2;
  return caret.yMax - std::min(height / 4, kTipInside);
}

// Whether the point lies on a character, in the middle half of its box across the line (along
// the line it may stand on the boundary beside it, where a caret is set): a caret's middle
// there is a claim of its own on that character's line. A caret hung under the baseline has its
// middle only at the top of the next line's boxes, in their leading.
bool AcrossTheMiddleOfACharacter(const std::vector<PageLine>& lines, float x, float y) {
  constexpr float kSlack = 0.5f;
  for (const PageLine& line : lines) {
    if (y < line.yMin || y > line.yMax) continue;
    for (const LineCharacter& c : line.characters) {
      const float quarter = (c.area.yMax - c.area.yMin) / 4;
      if (c.area.xMin - kSlack <= x && x <= c.area.xMax + kSlack && c.area.yMin + quarter <= y &&
          y <= c.area.yMax - quarter)
        return true;
    }
  }
  return false;
}

// The caret as drawn is its comment's only area; the insertion point is the character boundary
// nearest to its middle along the line it is set on. A caret that points with its tip at one
// line while its middle lies across the middle of a character of another (a 14 pt caret
// centred on a raised footnote number reaches with its tip into the line above) has a
// comparable claim on both: it keeps the tip's place and names the other, to be flagged
// rather than guessed.
void PlaceCaret(PdfComment& comment, const std::vector<PageLine>& lines) {
  if (comment.hasRange() || comment.areas().empty()) return;
  const UserRect& caret = comment.areas().front();
  const float x = (caret.xMin + caret.xMax) / 2;
  LinePoint point;
  if (!NearestBoundary(lines, x, CaretHeight(caret, lines), point)) return;
  comment.SetPointMatched(true);
  const TextPosition at{point.element, point.offset};
  comment.SetRange({at, at});
  const float middle = (caret.yMin + caret.yMax) / 2;
  LinePoint other;
  if (PointsWithTip(caret, lines) && AcrossTheMiddleOfACharacter(lines, x, middle) &&
      NearestBoundary(lines, x, middle, other) &&
      (other.element != point.element || other.offset != point.offset)) {
    comment.SetOtherPlace(PlaceText(other));
  }
}

// A text box takes every word it touches whole, in text written with blanks between words. The
// marked text gains what the range gained.
void WidenTextBoxToWords(PdfComment& comment, WordBreaks& words) {
  if (!comment.hasRange()) return;
  TextRange range = comment.range();
  if (!range.start.element || !range.end.element || range.end.offset == 0) return;
  const ElementCharacters& first = range.start.element->chars;
  const ElementCharacters& last = range.end.element->chars;
  const WordSpan startWord = words.WordAt(first, range.start.offset);
  const WordSpan endWord = words.WordAt(last, range.end.offset - 1);
  std::string marked = comment.markedText();
  if (startWord.isWord && !startWord.ideographic && startWord.start < range.start.offset) {
    // A word that starts its element starts a line of the marked text.
    marked = (startWord.start == 0 ? "\n" : "") + first.Text(startWord.start, range.start.offset) +
             marked;
    range.start.offset = startWord.start;
  }
  if (endWord.isWord && !endWord.ideographic && endWord.end > range.end.offset) {
    marked += last.Text(range.end.offset, endWord.end);
    range.end.offset = endWord.end;
  }
  comment.SetRange(range);
  comment.SetMarkedText(std::move(marked));
}

// The box of the character at `at`, when its page is the one being read.
const UserRect* AreaOf(const TextPosition& at) {
  if (!at.element) return nullptr;
  const ElementCharacters& chars = at.element->chars;
  if (at.offset < chars.BoxesFrom() || at.offset - chars.BoxesFrom() >= chars.Areas().size())
    return nullptr;
  return &chars.Areas()[at.offset - chars.BoxesFrom()];
}

// Drops the range's last character from the range and from the marked text.
void DropLast(PdfComment& comment) {
  TextRange range = comment.range();
  const std::string lastText =
      range.end.element->chars.Text(range.end.offset - 1, range.end.offset);
  range.end.offset -= 1;
  comment.SetRange(range);
  std::string marked = comment.markedText();
  if (marked.ends_with(lastText)) marked.resize(marked.size() - lastText.size());
  comment.SetMarkedText(std::move(marked));
}

// Each end of markup is decided on its own: a blank or a punctuation mark that the markup
// covers (three quarters of it or more) was taken while the page was read, whatever the other
// end did, since viewers that select through a text layer of their own set each end off the
// glyphs by its own amount. One drawing is told apart: markup padded by the same amount on both
// sides of its words, as writers that pad do by 2 pt. When it starts 1.5 to 3 pt before its
// first character and ends that same amount past the character before a blank or a punctuation
// mark it ends with, the padding explains the end, and that character is left out. This keeps a
// full stop kerned under a word's last letter out of markup drawn 2 pt outside the word, which
// covers the full stop nearly whole, while a full stop that markup reaches past on its own
// stays in. A start less than 1.5 pt early is a text layer's drift (up to about 2.5 pt either
// way, each end its own) and says nothing of the other end: it may well match a kerned full
// stop's overhang by chance.
void TrimMarkupPadding(PdfComment& comment) {
  constexpr float kLeastPadding = 1.5f;
  constexpr float kMostReach = 3.0f;
  // How near the padded end must come to the boundary before the last character: writers pad
  // the glyph boxes they read, which differ from the page text's boxes by a few hundredths.
  constexpr float kPaddingMatch = 0.35f;
  if (comment.areaRule() != AreaRule::Markup || !comment.hasRange() || comment.areas().empty())
    return;
  const TextRange& range = comment.range();
  if (range.start.element != range.end.element || range.end.offset < range.start.offset + 2) return;
  const TextPosition lastAt{range.end.element, range.end.offset - 1};
  const TextPosition beforeLastAt{range.end.element, range.end.offset - 2};
  const UserRect* first = AreaOf(range.start);
  const UserRect* beforeLast = AreaOf(beforeLastAt);
  if (!first || !beforeLast || !AreaOf(lastAt) ||
      !IsBlankOrPunctuation(range.end.element->chars.Text(lastAt.offset, range.end.offset))) {
    return;
  }
  // The areas that hold each end: the one starting nearest the first character, the one ending
  // nearest the boundary before the last.
  const UserRect* startArea = nullptr;
  const UserRect* endArea = nullptr;
  for (const UserRect& area : comment.areas()) {
    if (!startArea || std::fabs(area.xMin - first->xMin) < std::fabs(startArea->xMin - first->xMin))
      startArea = &area;
    if (!endArea ||
        std::fabs(area.xMax - beforeLast->xMax) < std::fabs(endArea->xMax - beforeLast->xMax))
      endArea = &area;
  }
  const float reach = first->xMin - startArea->xMin;
  if (!(reach >= kLeastPadding && reach <= kMostReach)) return;
  if (std::fabs(endArea->xMax - reach - beforeLast->xMax) > kPaddingMatch) return;
  DropLast(comment);
}

// Highlights, underlines and squiggly lines mark text for a reader; a blank at either end of
// one means nothing, so it is left out. Strike-outs keep theirs: deleting a word with its blank
// is meant.
void TrimBlankEnds(PdfComment& comment) {
  if (!comment.hasRange()) return;
  TextRange range = comment.range();
  if (!range.start.element || !range.end.element) return;
  const ElementCharacters& first = range.start.element->chars;
  const ElementCharacters& last = range.end.element->chars;
  const bool oneElement = range.start.element == range.end.element;
  uint32_t start = range.start.offset;
  while ((oneElement ? start + 1 < range.end.offset : start + 1 < first.size()) &&
         IsBlank(first.Text(start, start + 1))) {
    ++start;
  }
  uint32_t end = range.end.offset;
  while (end > (oneElement ? start + 1 : 1) && IsBlank(last.Text(end - 1, end))) --end;
  if (start == range.start.offset && end == range.end.offset) return;
  std::string marked = comment.markedText();
  const std::string lead = first.Text(range.start.offset, start);
  const std::string trail = last.Text(end, range.end.offset);
  // A range that starts its element has its marked text start a line.
  const size_t leadAt = range.start.offset == 0 && marked.starts_with("\n") ? 1 : 0;
  if (!lead.empty() && marked.compare(leadAt, lead.size(), lead) == 0) {
    marked.erase(0, leadAt + lead.size());
  }
  if (!trail.empty() && marked.ends_with(trail)) marked.resize(marked.size() - trail.size());
  range.start.offset = start;
  range.end.offset = end;
  comment.SetRange(range);
  comment.SetMarkedText(std::move(marked));
}

bool MarksTextOnly(const PdfComment& comment, const MatchSubtypes& subtypes) {
  return HasSubtype(comment, subtypes.highlight) || HasSubtype(comment, subtypes.underline) ||
         HasSubtype(comment, subtypes.squiggly);
}

}  // namespace

void PlacePointComments(DocumentContext& context) {
  const auto page = context.commentsByPage.find(context.pageIndex);
  if (page == context.commentsByPage.end()) return;
  const MatchSubtypes subtypes;
  std::optional<std::vector<PageLine>> lines;  // made for the first Caret or note
  WordBreaks words;
  for (const auto& held : page->second) {
    PdfComment& comment = *held;
    if (HasSubtype(comment, subtypes.caret)) {
      if (!lines) lines = PageLines(context.pageElements);
      PlaceCaret(comment, *lines);
    } else if (comment.pointing()) {
      if (!lines) lines = PageLines(context.pageElements);
      PlaceNote(comment, *lines, words);
    } else if (HasSubtype(comment, subtypes.freeText)) {
      WidenTextBoxToWords(comment, words);
    } else {
      TrimMarkupPadding(comment);
      if (MarksTextOnly(comment, subtypes)) TrimBlankEnds(comment);
    }
  }
}

}  // namespace osprevan::pdf
