// Ties one character of the page text to the comments of the current page as the walk reads it:
// a note takes the first character under its icon, every other comment but a Caret the
// characters it covers. Carets wait for the whole page (point_comments.h).
#pragma once

#include <cstdint>

#include "pdf/comment_kind.h"
#include "pdf/content_element.h"
#include "pdf/document_context.h"

namespace osprevan::pdf {

// `element` is the content element the character was appended to (null when its text lies
// outside every paragraph-level element); `offset` is its index there.
void MatchCharacter(DocumentContext& context, const CharacterRecord& character,
                    ContentElement* element, uint32_t offset);

// The subtypes the rules tell apart, as rows of the kinds table.
struct MatchSubtypes {
  const CommentSubtype* caret = FindCommentSubtype("Caret");
  const CommentSubtype* freeText = FindCommentSubtype("FreeText");
  // The markup that marks text rather than changing it.
  const CommentSubtype* highlight = FindCommentSubtype("Highlight");
  const CommentSubtype* underline = FindCommentSubtype("Underline");
  const CommentSubtype* squiggly = FindCommentSubtype("Squiggly");
};

// The point a pointing comment's area points at: the upper left corner of a note's icon, or the
// middle of an area too small to hold a character well inside it (an icon of no size, a
// callout line's tip), which takes the character whose box holds that point.
struct AreaPoint {
  float x = 0.0f;
  float y = 0.0f;
  bool pointLike = false;
};
AreaPoint PointOfArea(const UserRect& area);

// A row that is not there (null) names no subtype, not even a record's unset one.
bool HasSubtype(const PdfComment& comment, const CommentSubtype* subtype);
void MatchCharacter(DocumentContext& context, const CharacterRecord& character,
                    ContentElement* element, uint32_t offset, const MatchSubtypes& subtypes);

}  // namespace osprevan::pdf
