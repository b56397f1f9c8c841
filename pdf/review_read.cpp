#include "pdf/review_read.h"

#include <optional>
#include <utility>

#include "pdf/annotation_reader.h"
#include "pdf/container_places.h"
#include "pdf/document_context.h"
#include "pdf/library_handles.h"
#include "pdf/page_reading.h"
#include "pdf/pdf_document.h"
#include "pdf/position_normalisation.h"
#include "pdf/structure_tree.h"
#include "pdf/structured_blocks.h"

namespace osprevan::pdf {

namespace {

// The element whose blocks are the part's own.
const OkStructElem* PartElement(const StructureTree& tree, const ReviewPart& part) {
  return part.component == kWholePdf ? tree.Top() : tree.Kid(tree.Top(), part.component);
}

}  // namespace

ReviewRead::ReviewRead() = default;
ReviewRead::~ReviewRead() = default;
ReviewRead::ReviewRead(ReviewRead&&) noexcept = default;
ReviewRead& ReviewRead::operator=(ReviewRead&&) noexcept = default;

ReviewRead ReadReview(const OpenedPdf& opened, tolvane::ObjectId document, const ReviewPart& part,
                      const FilterCriteria& filter, const PageProgress& progress) {
  OkDoc* pdf = LibraryDocument(opened);
  const StructureTree tree(pdf);
  ReviewRead read;
  if (!pdf || part.firstPage < 0 || part.firstPage > part.lastPage) return read;
  DocumentContext context;
  std::optional<support::PhaseTimer> phase;
  phase.emplace(context.phases, support::Phase::Annotations);
  const AnnotationCount annotations = CountAnnotations(pdf, part.firstPage, part.lastPage);
  read.pagesNotHad.insert(annotations.pagesNotHad.begin(), annotations.pagesNotHad.end());
  read.annotationCount = annotations.total;
  if (annotations.total == 0) {
    phase.reset();
    read.phases = context.phases;
    return read;
  }

  phase.emplace(context.phases, support::Phase::Structure);
  context.hasRoleMap = HasRoleMap(pdf);
  // A malformed block marker leaves the blocks found before it; text in the rest is not
  // taken for a block's.
  (void)CollectBlocks(context, tree, PartElement(tree, part));
  for (int32_t index = part.firstPage; index <= annotations.lastPage; ++index) {
    phase.emplace(context.phases, support::Phase::Annotations);
    OkPage* page = BeginPage(context, pdf, index, filter);
    // A page that cannot be had at all was noted when the annotations were counted.
    if (!page) continue;
    if (progress) progress(index);
    const auto listed = context.commentsByPage.find(index);
    const bool hasComments = listed != context.commentsByPage.end() && !listed->second.empty();
    phase.emplace(context.phases, support::Phase::Content);
    if (!FinishPage(context, page).ok() && hasComments) read.textUnread.insert(index);
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

}  // namespace osprevan::pdf
