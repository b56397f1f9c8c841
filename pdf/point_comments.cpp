#include "pdf/point_comments.h"

#include <optional>
#include <string>

#include "pdf/page_lines.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"
#include "pdf/word_bounds.h"

namespace osprevan::pdf {
namespace {

struct PointSubtypes {
  ondrelkit::PdfAtom caret = ondrelkit::kNoAtom;
  ondrelkit::PdfAtom text = ondrelkit::kNoAtom;
  ondrelkit::PdfAtom freeText = ondrelkit::kNoAtom;
};

PointSubtypes MakeSubtypes() {
  const OkCoreTable* core = Tables().core;
  if (!core) return {};
  return Guarded(
      [&] {
        return PointSubtypes{core->PdfAtom("Caret"), core->PdfAtom("Text"),
                             core->PdfAtom("FreeText")};
      },
      PointSubtypes{});
}

bool Is(const PdfComment& comment, ondrelkit::PdfAtom subtype) {
  return subtype != ondrelkit::kNoAtom && comment.subtype() == subtype;
}

// The caret as drawn is its comment's only area; the insertion point is the character boundary
// nearest to its centre.
void PlaceCaret(PdfComment& comment, const std::vector<PageLine>& lines) {
  if (comment.hasRange() || comment.areas().empty()) return;
  const UserRect& caret = comment.areas().front();
  LinePoint point;
  if (!NearestBoundary(lines, (caret.xMin + caret.xMax) / 2, (caret.yMin + caret.yMax) / 2,
                       point)) {
    return;
  }
  comment.SetPointMatched(true);
  const TextPosition at{point.element, point.offset};
  comment.SetRange({at, at});
}

// A note's marker goes after the word under its icon; on a blank or a punctuation mark it stays
// before that character, which is the end of the word before it.
void MoveNoteToWordEnd(PdfComment& comment) {
  if (!comment.pointMatched() || !comment.hasRange()) return;
  TextPosition at = comment.range().start;
  if (!at.element) return;
  const WordSpan word = WordAt(at.element->chars, at.offset);
  if (!word.isWord) return;
  at.offset = word.end;
  comment.SetRange({at, at});
}

// A text box takes every word it touches whole, in text written with blanks between words. The
// marked text gains what the range gained.
void WidenTextBoxToWords(PdfComment& comment) {
  if (!comment.hasRange()) return;
  TextRange range = comment.range();
  if (!range.start.element || !range.end.element || range.end.offset == 0) return;
  const ElementCharacters& first = range.start.element->chars;
  const ElementCharacters& last = range.end.element->chars;
  const WordSpan startWord = WordAt(first, range.start.offset);
  const WordSpan endWord = WordAt(last, range.end.offset - 1);
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

}  // namespace

void PlacePointComments(DocumentContext& context) {
  const auto page = context.commentsByPage.find(context.pageIndex);
  if (page == context.commentsByPage.end()) return;
  const PointSubtypes subtypes = MakeSubtypes();
  std::optional<std::vector<PageLine>> lines;  // made for the first Caret
  for (const auto& held : page->second) {
    PdfComment& comment = *held;
    if (Is(comment, subtypes.caret)) {
      if (!lines) lines = PageLines(context.pageElements);
      PlaceCaret(comment, *lines);
    } else if (Is(comment, subtypes.text)) {
      MoveNoteToWordEnd(comment);
    } else if (Is(comment, subtypes.freeText)) {
      WidenTextBoxToWords(comment);
    }
  }
}

}  // namespace osprevan::pdf
