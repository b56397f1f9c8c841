// Which paragraph-level structure element owns the text of a marked-content sequence, found by
// climbing from the element the page's parent tree names for its MCID up to the root. The
// content walk and the walk plan ask the same question, so that what the plan counts for a page
// is what a walk of the page would count.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ondrelkit/ondrelkit.h"
#include "pdf/document_context.h"
#include "pdf/page_owners.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {

// Looks owners up for one page; caches types and chains in the context for the whole document.
class OwnerLookup {
 public:
  // `pageObject` is the page's object (not owned); null gives no owner to any MCID.
  OwnerLookup(DocumentContext& context, const OkObj* pageObject);

  // Null when the MCID names no element, or the element's chain reaches no paragraph-level
  // element (or no root).
  std::optional<MarkedContentOwner> OfMcid(int32_t mcid);

 private:
  struct Level {
    const OkStructElem* element;
    ondrelkit::PdfAtom own;
    ondrelkit::PdfAtom mapped;
  };
  std::optional<MarkedContentOwner> OfElement(const OkStructElem* start);
  Level LevelOf(const OkStructElem* element) const;
  bool IsParagraph(ondrelkit::PdfAtom mapped) const;
  const ElementEntry* ChainAbove(const std::vector<Level>& path, size_t from);

  DocumentContext& context_;
  const PdfTables& t_;
  const OkObj* pageObject_;
  ondrelkit::PdfAtom span_ = ondrelkit::kNoAtom;
  ondrelkit::PdfAtom figure_ = ondrelkit::kNoAtom;
};

// The role map is taken once per document: the context drops it with the document's
// collections.
void TakeRoleMap(DocumentContext& context);

}  // namespace osprevan::pdf
