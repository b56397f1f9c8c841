// The host container that a content element's chain of classified ancestors leads to: a flow,
// and inside it a table's title or cell, or a footnote. Paragraphs that are not found by their
// identifiers are counted from the start of that container.
#pragma once

#include <string>

#include "pdf/content_element.h"
#include "tolvane/numbers.h"

namespace osprevan::apply {

struct HostContainer {
  tolvane::ObjectId flow = 0;
  tolvane::ObjectId table = 0;
  int32_t rowKind = 0;  // the row group of the table, once one was entered
  tolvane::ObjectId row = 0;
  tolvane::ObjectId cell = 0;
  tolvane::ObjectId footnote = 0;
  bool tableTitle = false;

  // The first paragraph of the innermost container reached; 0 when there is none.
  tolvane::ObjectId FirstParagraph(tolvane::ObjectId document) const;
};

// The flow of that name whose first text frame lies on a body page; 0 when there is none.
tolvane::ObjectId BodyFlowNamed(tolvane::ObjectId document, const std::string& name);

// Walks the chain from its outermost entry inwards. False when an entry could not be resolved;
// `out` then holds the container reached so far.
bool WalkContainers(tolvane::ObjectId document, const pdf::ContentElement& element,
                    HostContainer& out);

}  // namespace osprevan::apply
