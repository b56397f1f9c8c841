// Where a note points: the end of the word under its icon, and another place when the icon's
// corner has about as good a claim on a word of another line.
#pragma once

#include <vector>

#include "pdf/page_lines.h"
#include "pdf/pdf_comment.h"
#include "pdf/word_bounds.h"

namespace osprevan::pdf {

// For a note, or a text box pointing with a callout line, that the walk matched to the first
// character under its icon (or to the one under its point): moves it to the end of that
// character's word. When the icon's corner lies on a character of another line, or in the
// leading between two lines about as near to both, the note goes to the line nearer its corner
// (the first covered one when both are as near) and names the other place, to be flagged
// rather than guessed.
void PlaceNote(PdfComment& comment, const std::vector<PageLine>& lines, WordBreaks& words);

}  // namespace osprevan::pdf
