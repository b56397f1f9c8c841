// Whether a document is structured, and whether a document or book is a structure map, judged
// by its highest structure element.
#pragma once

#include "tolvane/numbers.h"

namespace osprevan::hostlink {

// The highest structure element of the target, through its main flow; 0 when unstructured.
tolvane::ObjectId HighestElement(tolvane::ObjectId target);

// Whether the document's main flow has a root element; other flows do not make it structured.
bool IsStructuredDocument(tolvane::ObjectId document);

bool IsDitaMap(tolvane::ObjectId target);

}  // namespace osprevan::hostlink
