#include "apply/apply_comments.h"

#include <algorithm>
#include <limits>
#include <new>
#include <optional>
#include <vector>

#include "apply/apply_order.h"
#include "apply/apply_placement.h"
#include "apply/comment_report.h"
#include "apply/container_walk.h"
#include "apply/import_context.h"
#include "apply/imported_comments.h"
#include "apply/make_placement.h"
#include "apply/outcome_count.h"
#include "apply/struck_ranges.h"
#include "apply/tracked_insertions.h"
#include "apply/validate_placement.h"
#include "apply/wysiwyg_view.h"
#include "hostlink/host_ops.h"
#include "support/formatted.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"

namespace osprevan::apply {
namespace {

using tolvane::ObjectId;

void ShowStatus(ObjectId document, const std::string& text) {
  HostSetString(document, document, tolvane::P_DOC_STATUS_BAR, text);
}

bool TextUnread(const pdf::ReviewRead& read, int32_t page) {
  return read.textUnread.count(page) != 0;
}

// Memory running out while one placement is made, checked or applied fails that placement,
// not the import: the one place where placing catches it.
template <typename Work>
support::Status GuardedStep(Placement& placement, Work work) {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    return placement.Fail(PlacementReason::OutOfMemory);
  }
}

// A placement of the comment that says only where it comes from, for one that is not located.
Placement Unlocated(ObjectId document, const pdf::PdfComment& comment, int32_t page) {
  Placement placement;
  placement.comment = &comment;
  placement.kind = KindOfComment(comment);
  placement.document = document;
  placement.pageIndex = page;
  return placement;
}

bool RanOutOfMemory(const Placement& placement) {
  return placement.failure == PlacementReason::OutOfMemory;
}

// Each comment becomes a placement, except those an earlier import placed in the document
// already: they are counted and reported in `skipped`, and nothing is done with them.
std::vector<Placement> Convert(ImportContext& context, ObjectId document,
                               const pdf::ReviewRead& read, std::vector<ReportEntry>& skipped) {
  ShowStatus(document, support::UiString(support::MSG_PROGRESS_CONVERTING));
  const ImportedComments imported = ReadImportedComments(document);
  std::vector<Placement> placements;
  for (const auto& [page, comments] : read.commentsByPage) {
    if (TextUnread(read, page)) continue;
    for (const auto& comment : comments) {
      const auto earlier = imported.find(comment->identity());
      if (comment->identity().empty() || earlier == imported.end()) {
        // What running out of memory leaves is failed when the placements are applied.
        Placement& placement = placements.emplace_back(Unlocated(document, *comment, page));
        (void)GuardedStep(placement, [&] {
          placement = MakePlacement(document, *comment);
          return support::Status::Done();
        });
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
void FailCommentsOfUnreadPages(ImportContext& context, ObjectId document,
                               const pdf::ReviewRead& read, std::vector<ReportEntry>& report) {
  for (const auto& [page, comments] : read.commentsByPage) {
    if (!TextUnread(read, page)) continue;
    for (const auto& comment : comments) {
      Placement placement = Unlocated(document, *comment, page);
      placement.NoteFailure(PlacementReason::PageUnreadable);
      CountOutcome(context.counters, placement, false);
      report.push_back(ReportPlacement(placement, false));
    }
  }
}

// Applies the placements in their order. Each one applied leaves its comment's identity in the
// document once all are done, so that no marker of it moves an offset still to be used.
void Apply(ImportContext& context, std::vector<Placement>& placements,
           std::vector<ReportEntry>& report) {
  std::vector<const Placement*> applied;
  TrackedInsertions insertions;
  StruckRanges struck;
  for (Placement* placement : ApplicationOrder(placements)) {
    placement->insertions = &insertions;
    const bool done = !RanOutOfMemory(*placement) && GuardedStep(*placement, [&] {
                                                       return ApplyPlacement(*placement, struck);
                                                     }).ok();
    CountOutcome(context.counters, *placement, done);
    report.push_back(ReportPlacement(*placement, done));
    if (done) struck.Note(*placement);
    // A failed comment whose marker holds it is imported as far as it can be: a second import
    // would only add its marker again.
    if (done || placement->markerStands) applied.push_back(placement);
    placement->insertions = nullptr;
  }
  // A comment not noted is imported again by a second import: no text is lost, and the
  // import goes on.
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

std::vector<ReportEntry> Place(ImportContext& context, ObjectId document,
                               const pdf::ReviewRead& read) {
  std::vector<ReportEntry> report;
  if (document == 0 || read.annotationCount == 0) return report;
  EnsureWysiwygView(context);
  HostSetInt(0, 0, tolvane::P_SESSION_DISPLAYING, 0);
  std::vector<ReportEntry> skipped;
  std::optional<support::PhaseTimer> phase;
  phase.emplace(context.phases, support::Phase::Place);
  std::vector<Placement> placements = Convert(context, document, read, skipped);
  ShowStatus(document, support::UiString(support::MSG_PROGRESS_APPLYING));
  for (Placement& placement : placements) {
    if (RanOutOfMemory(placement)) continue;
    (void)GuardedStep(placement, [&] {
      ValidatePlacement(placement);
      return support::Status::Done();
    });
  }
  phase.emplace(context.phases, support::Phase::Apply);
  Apply(context, placements, report);
  WarnOfAnotherDocument(context, placements);
  placements.clear();
  report.insert(report.end(), skipped.begin(), skipped.end());
  FailCommentsOfUnreadPages(context, document, read, report);
  for (const auto& comment : read.filteredOut) report.push_back(ReportFilteredOut(*comment));
  const std::string path = HostGetString(document, document, tolvane::P_DOC_NAME);
  const std::string name = path.substr(path.find_last_of('/') + 1);
  for (ReportEntry& entry : report) entry.document = name;
  ShowStatus(document, "");
  RefreshDocument(document);
  return report;
}

}  // namespace osprevan::apply
