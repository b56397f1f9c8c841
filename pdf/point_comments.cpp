#include "pdf/point_comments.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "pdf/character_match.h"
#include "pdf/page_lines.h"
#include "pdf/text_blanks.h"
#include "pdf/word_bounds.h"

namespace osprevan::pdf {
namespace {

// The height at which a caret is set on its line. A caret no taller than a line points with
// its tip, at its top: one drawn under the baseline with its tip on it, as some viewers set
// carets, has its middle in the line below. Its tip is taken a little inside, since a caret as
// high as the line has its tip on the edge between two lines. A taller caret is centred on the
// line it marks.
float CaretHeight(const UserRect& caret, const std::vector<PageLine>& lines) {
  constexpr float kTipInside = 2.0f;
  const float middle = (caret.yMin + caret.yMax) / 2;
  const float height = caret.yMax - caret.yMin;
  const float lineHeight = NearestLineHeight(lines, middle);
  if (!(height <= lineHeight * 1.25f)) return middle;
  return caret.yMax - std::min(height / 4, kTipInside);
}

// The caret as drawn is its comment's only area; the insertion point is the character boundary
// nearest to its middle along the line it is set on.
void PlaceCaret(PdfComment& comment, const std::vector<PageLine>& lines) {
  if (comment.hasRange() || comment.areas().empty()) return;
  const UserRect& caret = comment.areas().front();
  LinePoint point;
  if (!NearestBoundary(lines, (caret.xMin + caret.xMax) / 2, CaretHeight(caret, lines), point)) {
    return;
  }
  comment.SetPointMatched(true);
  const TextPosition at{point.element, point.offset};
  comment.SetRange({at, at});
}

// A note's marker goes after the word under its icon; on a blank or a punctuation mark it stays
// before that character, which is the end of the word before it.
void MoveNoteToWordEnd(PdfComment& comment, WordBreaks& words) {
  if (!comment.pointMatched() || !comment.hasRange()) return;
  TextPosition at = comment.range().start;
  if (!at.element) return;
  const WordSpan word = words.WordAt(at.element->chars, at.offset);
  if (!word.isWord) return;
  at.offset = word.end;
  comment.SetRange({at, at});
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

float Covered(float from, float to, const UserRect& character) {
  const float width = character.xMax - character.xMin;
  if (!(width > 0.0f)) return 1.0f;
  return (std::min(to, character.xMax) - std::max(from, character.xMin)) / width;
}

// Markup drawn past its words reaches past both ends by about as much. When it starts that far
// before its first character, its end is read that much shorter too: a full stop or a comma
// after the last word, which such markup covers nearly whole, is then left out, as the blank
// before the first word was.
void TrimMarkupReach(PdfComment& comment) {
  constexpr float kMostReach = 3.0f;
  constexpr float kTaken = 0.75f;
  if (comment.areaRule() != AreaRule::Markup || !comment.hasRange() || comment.areas().empty())
    return;
  TextRange range = comment.range();
  if (range.start.element != range.end.element || range.end.offset < range.start.offset + 2) return;
  const TextPosition lastAt{range.end.element, range.end.offset - 1};
  const UserRect* first = AreaOf(range.start);
  const UserRect* last = AreaOf(lastAt);
  const std::string lastText = range.end.element->chars.Text(lastAt.offset, range.end.offset);
  if (!first || !last || !IsBlankOrPunctuation(lastText)) return;
  // The areas that hold each end: the one starting nearest the first character, the one ending
  // nearest the last.
  const UserRect* startArea = nullptr;
  const UserRect* endArea = nullptr;
  for (const UserRect& area : comment.areas()) {
    if (!startArea || std::fabs(area.xMin - first->xMin) < std::fabs(startArea->xMin - first->xMin))
      startArea = &area;
    if (!endArea || std::fabs(area.xMax - last->xMax) < std::fabs(endArea->xMax - last->xMax))
      endArea = &area;
  }
  const float reach = std::clamp(first->xMin - startArea->xMin, 0.0f, kMostReach);
  if (reach <= 0.0f || Covered(endArea->xMin, endArea->xMax - reach, *last) >= kTaken) return;
  range.end.offset -= 1;
  comment.SetRange(range);
  std::string marked = comment.markedText();
  if (marked.ends_with(lastText)) marked.resize(marked.size() - lastText.size());
  comment.SetMarkedText(std::move(marked));
}

}  // namespace

void PlacePointComments(DocumentContext& context) {
  const auto page = context.commentsByPage.find(context.pageIndex);
  if (page == context.commentsByPage.end()) return;
  const MatchSubtypes subtypes = MakeMatchSubtypes();
  std::optional<std::vector<PageLine>> lines;  // made for the first Caret
  WordBreaks words;
  for (const auto& held : page->second) {
    PdfComment& comment = *held;
    if (HasSubtype(comment, subtypes.caret)) {
      if (!lines) lines = PageLines(context.pageElements);
      PlaceCaret(comment, *lines);
    } else if (comment.pointing()) {
      MoveNoteToWordEnd(comment, words);
    } else if (HasSubtype(comment, subtypes.freeText)) {
      WidenTextBoxToWords(comment, words);
    } else {
      TrimMarkupReach(comment);
    }
  }
}

}  // namespace osprevan::pdf
