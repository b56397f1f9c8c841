// How one annotation points at another: the reply it answers, and the review state a reviewer
// sets on a comment through such an annotation.
#pragma once

#include "ondrelkit/ondrelkit.h"

namespace osprevan::pdf {

class PdfComment;

// The dictionary of the annotation this one answers ("IRT", when "RT" is absent or the name
// "R") as a new object that the caller releases; null when it answers none.
OkObj* ReplyTarget(const OkAnnot* annot);

// True when the annotation carries a "State" entry.
bool HasReviewState(const OkAnnot* annot);

// Sets the state field of `target` that the annotation's "StateModel" names to the value its
// "State" names, both compared without regard to letter case. An entry that is missing, not a
// string or unknown changes nothing.
void ApplyReviewState(const OkAnnot* stateAnnot, PdfComment& target);

}  // namespace osprevan::pdf
