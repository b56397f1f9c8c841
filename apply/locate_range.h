// From a comment's range over the PDF's page text to locations in the host document: the flow
// its article names, the paragraph its elements name, and the offsets carried over. Any doubt
// makes the result untrusted.
#pragma once

#include <cstdint>
#include <string>

#include "apply/placement.h"
#include "pdf/content_element.h"
#include "pdf/text_range.h"
#include "tolvane/numbers.h"
#include "tolvane/values.h"

namespace osprevan::apply {

// The flow named by an article identifier ("Article_" and the flow name, any letter case of
// the prefix) whose first text frame lies on a body page; 0 when there is none.
tolvane::ObjectId FindFlowForElement(tolvane::ObjectId document, const std::string& article);

// The host paragraph of a content element and how sure it is.
struct ResolvedElement {
  tolvane::ObjectId paragraph = 0;
  tolvane::ObjectId flow = 0;  // the flow its chain leads to; the main flow when none
  bool certain = true;
  bool counted = false;  // found by counting, not by its identifier
  PlacementReason reason = PlacementReason::None;
};
ResolvedElement ResolveElement(tolvane::ObjectId document, const pdf::ContentElement& element);

// What locating doubted: the first reason met, and the first that says the document is not as
// the PDF shows it there (a paragraph found by counting, a text changed since).
struct LocateDoubts {
  PlacementReason first = PlacementReason::None;
  PlacementReason documentDiffers = PlacementReason::None;
  void Add(PlacementReason why);
};

// Fills `begin` and `end`; done when both can be trusted, else failed, with the doubts. A
// range over one element is trusted only when the paragraph holds its characters; a point (an
// insertion point or a note's place) only when the text around it is as it was.
support::Status LocateRange(tolvane::ObjectId document, tolvane::ObjectId flow,
                            const pdf::TextRange& range, tolvane::TTextLoc& begin,
                            tolvane::TTextLoc& end, LocateDoubts& doubts);

}  // namespace osprevan::apply
