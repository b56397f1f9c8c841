// A range of text taken apart along the host's paragraph lists (a flow, a table cell, a
// footnote, a table title): the host reads and changes text one list at a time.
#pragma once

#include <vector>

#include "tolvane/numbers.h"
#include "tolvane/values.h"

namespace osprevan::apply {

// The range cut into pieces that each lie in one paragraph list. Ends in different lists are
// joined through the anchors of the tables, footnotes and anchored frames that hold them: the
// rest of each inner list, the text between the anchors in the list both lie in, and the
// whole cells of one table between two cells. An anchor whose container is only partly in the
// range stays out. Empty when an end names no paragraph or the ends share no list.
std::vector<tolvane::TTextRange> SplitIntoPieces(tolvane::ObjectId document,
                                                 const tolvane::TTextRange& range);

// The whole text of the list that begins with `firstParagraph`, its last paragraph end
// included; an empty range at object 0 when there is no paragraph.
tolvane::TTextRange WholeList(tolvane::ObjectId document, tolvane::ObjectId firstParagraph);

// The whole text of a table: its title, then every cell row by row.
std::vector<tolvane::TTextRange> TableContents(tolvane::ObjectId document, tolvane::ObjectId table);

}  // namespace osprevan::apply
