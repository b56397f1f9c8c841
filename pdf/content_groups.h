// Content elements by the chain of classified elements around them: which element an owner's
// next text belongs to, and how it counts among the elements of its chain. The counts run over
// the whole document, so a page whose content is not walked is still counted from what its
// parent tree names (CountUnwalkedPage).
#pragma once

#include "pdf/document_context.h"
#include "pdf/marked_content_owner.h"

namespace osprevan::pdf {

// The content element the owner's next character belongs to: the last one of its chain when
// that has the same paragraph, else a new one on page `context.pageIndex`. Notes the owner in
// `context.pageOwners`.
ContentElement* ElementOf(DocumentContext& context, const MarkedContentOwner& owner);

// Counts the owners of a page whose content is not walked as a walk meeting them in this order
// would: the chains' counts and last elements move on as if the page had been walked. The
// elements it makes hold no text and are no element of the document (`context.unwalked`).
void CountUnwalkedPage(DocumentContext& context, const PageOwners& owners);

}  // namespace osprevan::pdf
