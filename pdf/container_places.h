// What placing needs of the PDF's structure tree to find a comment's host container and
// paragraph, read once reading is done, so that placing never goes back to the PDF: the
// identifier of each element a comment's range ends in, and for the classified ancestors of
// those elements a row's or cell's place among its parent's kids and the paragraph that
// anchors a table or footnote.
#pragma once

#include "pdf/document_context.h"
#include "pdf/structure_tree.h"
#include "tolvane/numbers.h"

namespace osprevan::pdf {

// Notes the places for the elements that the ranged top-level comments of `context` lie in.
// Anchors are resolved in `document`; with no document only the identifiers are read.
void NoteContainerPlaces(DocumentContext& context, const StructureTree& tree,
                         tolvane::ObjectId document);

}  // namespace osprevan::pdf
