// Places that depend on the whole page's text, settled once the page's walk is done: a Caret's
// insertion point, a note's place at the end of its word, a text box's whole words.
#pragma once

#include "pdf/document_context.h"

namespace osprevan::pdf {

// For the comments of the page being read. A Caret whose point cannot be told for certain is
// left without a range, for the fallback to place and flag.
void PlacePointComments(DocumentContext& context);

}  // namespace osprevan::pdf
