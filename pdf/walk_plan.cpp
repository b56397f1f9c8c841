#include "pdf/walk_plan.h"

#include <algorithm>
#include <utility>

#include "pdf/content_groups.h"
#include "pdf/marked_content_owner.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

// The pieces of one host paragraph share a chain and a count.
using ParagraphKey = std::pair<const ElementEntry*, uint32_t>;

bool Touches(const ContentElement& element, const std::vector<int32_t>& sortedPages) {
  const auto at = std::lower_bound(sortedPages.begin(), sortedPages.end(), element.firstPage);
  return at != sortedPages.end() && *at <= element.lastPage;
}

}  // namespace

bool WalkPlan::Confirms(int32_t page, const PageOwners& met) const {
  const auto named = owners.find(page);
  return named == owners.end() ? met.empty() : named->second == met;
}

PageOwners ParentTreeOwners(DocumentContext& context, OkPage* page) {
  const PdfTables& t = Tables();
  PageOwners out;
  OkObj* pageObject =
      Guarded([&] { return t.pages->PdfPageObject(page); }, static_cast<OkObj*>(nullptr));
  if (!pageObject) return out;
  const int32_t count = Guarded([&] { return t.pageMarkedContentCount(pageObject); }, 0);
  OwnerLookup lookup(context, pageObject);
  for (int32_t mcid = 0; mcid < count; ++mcid) {
    if (const auto owner = lookup.OfMcid(mcid)) NoteOwner(out, *owner);
  }
  Guarded([&] { return t.core->PdfRelease(pageObject), 0; }, 0);
  return out;
}

WalkPlan PlanWalk(DocumentContext& context, OkDoc* pdf, int32_t firstPage, int32_t lastPage,
                  const std::vector<int32_t>& annotated) {
  const PdfTables& t = Tables();
  WalkPlan plan;
  plan.walked.insert(annotated.begin(), annotated.end());
  for (int32_t index = firstPage; index <= lastPage; ++index) {
    OkPage* page =
        Guarded([&] { return t.pages->PdfAcquirePage(pdf, index); }, static_cast<OkPage*>(nullptr));
    if (!page) continue;
    PageOwners owners = ParentTreeOwners(context, page);
    Guarded([&] { return t.pages->PdfReleasePage(page), 0; }, 0);
    context.pageIndex = index;
    CountUnwalkedPage(context, owners);
    plan.owners.emplace(index, std::move(owners));
  }
  // The elements the counts made stand for the document's: those on annotated pages, and every
  // piece of their host paragraphs, need their text.
  std::vector<int32_t> sortedPages(annotated.begin(), annotated.end());
  std::sort(sortedPages.begin(), sortedPages.end());
  std::set<ParagraphKey> needed;
  for (const auto& element : context.unwalked)
    if (Touches(*element, sortedPages))
      needed.insert({element->containers, element->containerCount});
  for (const auto& element : context.unwalked) {
    if (!needed.count({element->containers, element->containerCount})) continue;
    for (int32_t page = element->firstPage; page <= element->lastPage; ++page)
      plan.walked.insert(page);
  }
  context.groups.clear();
  context.unwalked.clear();
  context.pageIndex = -1;
  return plan;
}

}  // namespace osprevan::pdf
