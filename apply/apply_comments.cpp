#include "apply/apply_comments.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "apply/apply_order.h"
#include "apply/apply_placement.h"
#include "apply/comment_report.h"
#include "apply/container_walk.h"
#include "apply/import_context.h"
#include "apply/imported_comments.h"
#include "apply/make_placement.h"
#include "apply/outcome_count.h"
#include "apply/position_normalisation.h"
#include "apply/validate_placement.h"
#include "apply/wysiwyg_view.h"
#include "hostlink/host_ops.h"
#include "pdf/annotation_reader.h"
#include "pdf/page_reading.h"
#include "support/formatted.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"

namespace osprevan::apply {
namespace {

using tolvane::ObjectId;

void ShowStatus(ObjectId document, const std::string& text) {
  HostSetString(document, document, tolvane::P_DOC_STATUS_BAR, text);
}

// Reads the pages up to the last one with annotations, with the page number in the status bar.
// A page whose text cannot be read keeps its comments, to be counted as failed; a page that
// cannot be had at all was noted when the annotations were counted.
void ReadComments(ImportContext& context, ObjectId document, OkDoc* pdf, int32_t firstPage,
                  int32_t lastPage, const pdf::FilterCriteria& filter) {
  const std::string progress = support::UiString(support::MSG_PROGRESS_PAGE);
  for (int32_t index = firstPage; index <= lastPage; ++index) {
    OkPage* page = pdf::BeginPage(context.reading, pdf, index, filter);
    if (!page) continue;
    ShowStatus(document, support::Format("%s%d", progress.c_str(), index + 1));
    const auto listed = context.reading.commentsByPage.find(index);
    const bool hasComments =
        listed != context.reading.commentsByPage.end() && !listed->second.empty();
    if (!pdf::FinishPage(context.reading, page) && hasComments)
      context.unreadable.textUnread.insert(index);
  }
}

bool TextUnread(const ImportContext& context, int32_t page) {
  return context.unreadable.textUnread.count(page) != 0;
}

// Each comment becomes a placement, except those an earlier import placed in the document
// already: they are counted and reported in `skipped`, and nothing is done with them.
std::vector<Placement> Convert(ImportContext& context, ObjectId document,
                               std::vector<ReportEntry>& skipped) {
  ShowStatus(document, support::UiString(support::MSG_PROGRESS_CONVERTING));
  const ImportedComments imported = ReadImportedComments(document);
  std::vector<Placement> placements;
  for (const auto& [page, comments] : context.reading.commentsByPage) {
    if (TextUnread(context, page)) continue;
    for (const auto& comment : comments) {
      const auto earlier = imported.find(comment->identity());
      if (comment->identity().empty() || earlier == imported.end()) {
        placements.push_back(MakePlacement(document, *comment));
        continue;
      }
      int32_t& count = context.counters.alreadyImported;
      if (count < std::numeric_limits<int32_t>::max()) ++count;
      skipped.push_back(ReportAlreadyImported(*comment, earlier->second));
    }
  }
  ReportConversion(document);
  return placements;
}

// The comments of pages whose text could not be read have no place to go: each is counted as
// failed and reported so, and the document is left as it was.
void FailCommentsOfUnreadPages(ImportContext& context, ObjectId document) {
  for (const auto& [page, comments] : context.reading.commentsByPage) {
    if (!TextUnread(context, page)) continue;
    for (const auto& comment : comments) {
      Placement placement;
      placement.comment = comment.get();
      placement.kind = KindOfComment(*comment);
      placement.document = document;
      placement.pageIndex = page;
      placement.NoteFailure(PlacementReason::PageUnreadable);
      CountOutcome(context.counters, placement, 1);
      context.report.push_back(ReportPlacement(placement, 1));
    }
  }
}

// Applies the placements in their order. Each one applied leaves its comment's identity in the
// document once all are done, so that no marker of it moves an offset still to be used.
void Apply(ImportContext& context, std::vector<Placement>& placements) {
  const Placement* previous = nullptr;
  std::vector<const Placement*> applied;
  for (Placement* placement : ApplicationOrder(placements)) {
    const int32_t result = ApplyPlacement(*placement, SameSpot(*placement, previous));
    CountOutcome(context.counters, *placement, result);
    context.report.push_back(ReportPlacement(*placement, result));
    if (result == 0) applied.push_back(placement);
    previous = placement;
  }
  for (const Placement* placement : applied) (void)NoteImported(*placement);
}

// When at least half of the placements, and at least kFewestDiffering, found the document not
// as the PDF shows it, the PDF was likely made from another document: said once per import.
void WarnOfAnotherDocument(ImportContext& context, const std::vector<Placement>& placements) {
  constexpr size_t kFewestDiffering = 3;
  const auto differing = static_cast<size_t>(
      std::count_if(placements.begin(), placements.end(),
                    [](const Placement& p) { return p.documentDiffers != PlacementReason::None; }));
  if (differing < kFewestDiffering || differing * 2 < placements.size()) return;
  std::vector<int>& warnings = context.counters.warnings;
  if (std::find(warnings.begin(), warnings.end(), support::MSG_OTHER_DOCUMENT) == warnings.end())
    warnings.push_back(support::MSG_OTHER_DOCUMENT);
}

// The tracked-changes preview is switched away and back, so that the host shows the new
// changes, with reformatting off meanwhile; then one reformat and one redraw.
void RefreshDocument(ObjectId document) {
  HostSetInt(0, 0, tolvane::P_SESSION_REFORMATTING, 0);
  const int32_t preview = HostGetInt(document, document, tolvane::P_DOC_TRACK_PREVIEW);
  HostSetInt(document, document, tolvane::P_DOC_TRACK_PREVIEW, preview == 0 ? 2 : 0);
  HostSetInt(document, document, tolvane::P_DOC_TRACK_PREVIEW, preview);
  HostSetInt(0, 0, tolvane::P_SESSION_REFORMATTING, 1);
  HostReformat(document);
  HostSetInt(0, 0, tolvane::P_SESSION_DISPLAYING, 1);
  HostRedisplay(document);
}

}  // namespace

int32_t ApplyCommentsToDocument(ImportContext& context, ObjectId document, OkDoc* pdf,
                                int32_t firstPage, int32_t lastPage,
                                const pdf::FilterCriteria& filter) {
  if (document == 0 || !pdf || firstPage > lastPage || firstPage < 0) return 1;
  context.document = document;
  const pdf::AnnotationCount annotations = pdf::CountAnnotations(pdf, firstPage, lastPage);
  context.unreadable.notHad.insert(annotations.pagesNotHad.begin(), annotations.pagesNotHad.end());
  if (annotations.total == 0) return 0;
  EnsureWysiwygView(context);
  HostSetInt(0, 0, tolvane::P_SESSION_DISPLAYING, 0);
  ReadComments(context, document, pdf, firstPage, annotations.lastPage, filter);
  NormalisePositions(context.reading, firstPage, annotations.lastPage);
  const KidPlaceNotes kidPlaces;
  std::vector<ReportEntry> skipped;
  std::vector<Placement> placements = Convert(context, document, skipped);
  ShowStatus(document, support::UiString(support::MSG_PROGRESS_APPLYING));
  for (Placement& placement : placements) ValidatePlacement(placement);
  Apply(context, placements);
  WarnOfAnotherDocument(context, placements);
  placements.clear();
  context.report.insert(context.report.end(), skipped.begin(), skipped.end());
  FailCommentsOfUnreadPages(context, document);
  for (const auto& comment : context.reading.filteredOut)
    context.report.push_back(ReportFilteredOut(*comment));
  context.reading.Clear();
  ShowStatus(document, "");
  RefreshDocument(document);
  return 0;
}

}  // namespace osprevan::apply
