// The blocks of a structured document's PDF: "BlockStart"/"BlockEnd" pairs that the export
// writes around text that is not the anchoring paragraph's own (an anchored frame's text), and
// the "Span" elements inside them. Placing keeps such text out of its counts and does not trust
// a position inside it.
#pragma once

#include <cstdint>

#include "ondrelkit/ondrelkit.h"
#include "pdf/document_context.h"
#include "pdf/inside_block.h"
#include "pdf/structure_tree.h"
#include "pdf/text_range.h"
#include "support/status.h"

namespace osprevan::pdf {

// Adds the blocks below `element` to the document's block list and their spans to its span
// map; a block left open stays open for the next call. Failed when a block marker was malformed
// (the blocks found so far are kept).
support::Status CollectBlocks(DocumentContext& context, const StructureTree& tree,
                              const OkStructElem* element);

// Sets `startsBlock` and `endsBlock` of every content element from the block list.
void MarkBlockParents(DocumentContext& context);

}  // namespace osprevan::pdf
