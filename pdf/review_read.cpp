#include "pdf/review_read.h"

#include <cstdlib>
#include <optional>
#include <utility>

#include "pdf/annotation_reader.h"
#include "pdf/container_places.h"
#include "pdf/document_context.h"
#include "pdf/library_handles.h"
#include "pdf/marked_content_owner.h"
#include "pdf/page_reading.h"
#include "pdf/pdf_document.h"
#include "pdf/position_normalisation.h"
#include "pdf/structure_tree.h"
#include "pdf/structured_blocks.h"
#include "pdf/walk_plan.h"

namespace osprevan::pdf {

ReviewRead::ReviewRead() = default;
ReviewRead::~ReviewRead() = default;
ReviewRead::ReviewRead(ReviewRead&&) noexcept = default;
ReviewRead& ReviewRead::operator=(ReviewRead&&) noexcept = default;

namespace {

// The element whose blocks are the part's own.
const OkStructElem* PartElement(const StructureTree& tree, const ReviewPart& part) {
  return part.component == kWholePdf ? tree.Top() : tree.Kid(tree.Top(), part.component);
}

// Set in the environment, every page is walked: the check that holds a planned reading against
// a full one sets it; nobody else needs to.
constexpr const char* kWalkEveryPageVariable = "OSPREVAN_WALK_EVERY_PAGE";

bool WalkEveryPage(const ReviewPart& part) {
  return part.walkEveryPage || std::getenv(kWalkEveryPageVariable) != nullptr;
}

// Then every page up to the last annotated one is walked anyway: a plan would only cost time.
bool EveryPageAnnotated(const AnnotationCount& annotations, const ReviewPart& part) {
  return static_cast<int64_t>(annotations.pages.size()) ==
         static_cast<int64_t>(annotations.lastPage) - part.firstPage + 1;
}

// One reading of the part. With `planned`, only the plan's pages are walked; nothing when a
// walked page showed the plan wrong.
std::optional<ReviewRead> ReadPart(OkDoc* pdf, const StructureTree& tree,
                                   tolvane::ObjectId document, const ReviewPart& part,
                                   const FilterCriteria& filter, const PageProgress& progress,
                                   const AnnotationCount& annotations, bool planned) {
  ReviewRead read;
  read.pagesNotHad.insert(annotations.pagesNotHad.begin(), annotations.pagesNotHad.end());
  read.annotationCount = annotations.total;
  DocumentContext context;
  std::optional<support::PhaseTimer> phase;
  phase.emplace(context.phases, support::Phase::Structure);
  context.hasRoleMap = HasRoleMap(pdf);
  // A malformed block marker leaves the blocks found before it; text in the rest is not
  // taken for a block's.
  (void)CollectBlocks(context, tree, PartElement(tree, part));
  std::optional<WalkPlan> plan;
  if (planned) {
    context.document = pdf;
    TakeRoleMap(context);
    plan = PlanWalk(context, pdf, part.firstPage, annotations.lastPage, annotations.pages);
  }
  for (int32_t index = part.firstPage; index <= annotations.lastPage; ++index) {
    phase.emplace(context.phases, support::Phase::Annotations);
    OkPage* page = BeginPage(context, pdf, index, filter);
    // A page that cannot be had at all was noted when the annotations were counted.
    if (!page) continue;
    if (progress) progress(index);
    phase.emplace(context.phases, support::Phase::Content);
    if (plan && !plan->Walks(index)) {
      SkipPage(context, page, plan->owners[index]);
      continue;
    }
    const auto listed = context.commentsByPage.find(index);
    const bool hasComments = listed != context.commentsByPage.end() && !listed->second.empty();
    if (!FinishPage(context, page).ok() && hasComments) read.textUnread.insert(index);
    if (plan && !plan->Confirms(index, context.pageOwners)) return std::nullopt;
  }
  phase.emplace(context.phases, support::Phase::Content);
  NormalisePositions(context, part.firstPage, annotations.lastPage);
  phase.emplace(context.phases, support::Phase::Structure);
  NoteContainerPlaces(context, tree, document);
  phase.reset();
  read.phases = context.phases;

  // The lookup by annotation is reading's own; its keys belong to the records moved out.
  context.commentsByAnnot.clear();
  context.statesChanged.clear();
  context.pendingReplace = nullptr;
  for (auto& [page, records] : context.commentsByPage)
    for (const auto& record : records) record->ReleaseAnnotations();
  for (const auto& record : context.filteredOut) record->ReleaseAnnotations();
  read.commentsByPage = std::move(context.commentsByPage);
  read.filteredOut = std::move(context.filteredOut);
  read.unreadKinds = std::move(context.unreadKinds);
  read.unreadAnnotations = std::move(context.unreadAnnotations);
  read.elements = std::move(context.elements);
  for (auto& [element, entry] : context.entries) read.entries.push_back(std::move(entry));
  return read;
}

}  // namespace

ReviewRead ReadReview(const OpenedPdf& opened, tolvane::ObjectId document, const ReviewPart& part,
                      const FilterCriteria& filter, const PageProgress& progress) {
  OkDoc* pdf = LibraryDocument(opened);
  if (!pdf || part.firstPage < 0 || part.firstPage > part.lastPage) return ReviewRead();
  const StructureTree tree(pdf);
  support::PhaseTimes counting;
  AnnotationCount annotations;
  {
    const support::PhaseTimer timer(counting, support::Phase::Annotations);
    annotations = CountAnnotations(pdf, part.firstPage, part.lastPage);
  }
  std::optional<ReviewRead> read;
  if (annotations.total == 0) {
    read.emplace();
    read->pagesNotHad.insert(annotations.pagesNotHad.begin(), annotations.pagesNotHad.end());
  } else if (!WalkEveryPage(part) && !EveryPageAnnotated(annotations, part)) {
    read = ReadPart(pdf, tree, document, part, filter, progress, annotations, true);
  }
  if (!read) read = ReadPart(pdf, tree, document, part, filter, progress, annotations, false);
  read->phases += counting;
  return std::move(*read);
}

}  // namespace osprevan::pdf
