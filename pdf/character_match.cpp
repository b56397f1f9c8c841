#include "pdf/character_match.h"

#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

// An atom that could not be made (kNoAtom) names no subtype, not even a record's unset one.
bool HasSubtype(const PdfComment& comment, ondrelkit::PdfAtom subtype) {
  return subtype != ondrelkit::kNoAtom && comment.subtype() == subtype;
}

bool CentreInside(const CharacterRecord& character, const CommentBox& box) {
  const float x = character.box.centreX;
  const float y = character.box.centreY;
  return box.left <= x && x <= box.right && box.top <= y && y <= box.bottom;
}

bool CentreInsideAny(const CharacterRecord& character, const PdfComment& comment) {
  for (const auto& box : comment.boxes()) {
    if (CentreInside(character, *box)) return true;
  }
  return false;
}

// A Caret's box is centred on the insertion point: its left edge falls in the character before
// the point, its right edge in the character after it. The edge is tested half way between the
// box's centre and its top, which is inside the line the caret was set on.
void MatchCaret(PdfComment& comment, const CharacterRecord& character, ContentElement* element,
                uint32_t offset) {
  if (comment.hasRange()) return;
  const CommentBox& c = character.box;
  for (const auto& box : comment.boxes()) {
    const float middle = (box->centreY + box->top) / 2;
    if (!(c.top < middle && middle < c.bottom)) continue;
    uint32_t at = 0;
    if (c.left < box->left && box->left < c.right) {
      at = offset + 1;
    } else if (c.left < box->right && box->right < c.right) {
      at = offset;
    } else {
      continue;
    }
    comment.SetPointMatched(true);
    const TextPosition point{element, at};
    comment.SetRange({point, point});
    return;
  }
}

// A note takes the first character under it; a later, better match never moves it.
void MatchNote(PdfComment& comment, const CharacterRecord& character, ContentElement* element,
               uint32_t offset) {
  if (comment.pointMatched() || !CentreInsideAny(character, comment)) return;
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

// Every other comment covers the characters whose centre lies under it. Text outside the
// structure cannot be placed, so covering it makes the comment's place uncertain.
void MatchCovered(PdfComment& comment, const CharacterRecord& character, ContentElement* element,
                  uint32_t offset) {
  if (!CentreInsideAny(character, comment)) return;
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

// Made for each use rather than kept: a library loaded again numbers its names anew, possibly
// at the same address, so atoms kept from an earlier load could name other subtypes.
MatchSubtypes MakeMatchSubtypes() {
  const OkCoreTable* core = Tables().core;
  if (!core) return {};
  return Guarded(
      [&] {
        return MatchSubtypes{core->PdfAtom("Caret"), core->PdfAtom("Text")};
      },
      MatchSubtypes{});
}

void MatchCharacter(DocumentContext& context, const CharacterRecord& character,
                    ContentElement* element, uint32_t offset) {
  MatchCharacter(context, character, element, offset, MakeMatchSubtypes());
}

void MatchCharacter(DocumentContext& context, const CharacterRecord& character,
                    ContentElement* element, uint32_t offset, const MatchSubtypes& subtypes) {
  const auto page = context.commentsByPage.find(context.pageIndex);
  if (page == context.commentsByPage.end()) return;
  for (const auto& held : page->second) {
    PdfComment& comment = *held;
    if (element && HasSubtype(comment, subtypes.caret)) {
      MatchCaret(comment, character, element, offset);
    } else if (element && HasSubtype(comment, subtypes.text)) {
      // A note keeps the place of the first character under it. Letting a note whose place is
      // confirmed fall through to the covering rule would stretch it over the characters that
      // follow under its icon and move its marker off the word it points at.
      MatchNote(comment, character, element, offset);
    } else if (!HasSubtype(comment, subtypes.text) || !comment.pointMatched()) {
      MatchCovered(comment, character, element, offset);
    }
  }
}

}  // namespace osprevan::pdf
