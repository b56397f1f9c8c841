// Which pages of a part need their content walked: walking a page costs far more than reading
// its annotations, and a review with comments on a few pages needs the text of a few pages only.
// The pages with annotations are walked, and with them every page of each paragraph whose text
// lies on such a page, and of the other pieces of its host paragraph. The other pages are only
// counted, from what their parent-tree entries name; a walked page whose text meets other owners
// than its entry named shows that the count cannot be trusted, and the reading starts over
// walking every page.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "ondrelkit/ondrelkit.h"
#include "pdf/document_context.h"
#include "pdf/page_owners.h"

namespace osprevan::pdf {

struct WalkPlan {
  std::set<int32_t> walked;
  // What each page's parent-tree entry names, in MCID order; no entry for a page the library
  // could not give.
  std::map<int32_t, PageOwners> owners;

  bool Walks(int32_t page) const { return walked.count(page) != 0; }
  // Whether a walk of `page` met what its entry named.
  bool Confirms(int32_t page, const PageOwners& met) const;
};

// The owners that the parent-tree entry of `page` names, in MCID order.
PageOwners ParentTreeOwners(DocumentContext& context, OkPage* page);

// Plans the pages `firstPage` to `lastPage` of `pdf`, whose annotated pages are `annotated`.
// Needs the context's role map and blocks taken; leaves its counts as they were (none).
WalkPlan PlanWalk(DocumentContext& context, OkDoc* pdf, int32_t firstPage, int32_t lastPage,
                  const std::vector<int32_t>& annotated);

}  // namespace osprevan::pdf
